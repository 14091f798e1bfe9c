#include "config/config_blocks.h"

#include "config/block_backup_file.h"
#include "config/cell_value.h"
#include "config/file_bytes.h"
#include "link/text_format.h"

namespace vantor {

ConfigBlocks::ConfigBlocks(Shell& shell, CommandChannel& channel)
    : shell_(shell), channel_(channel), blocks_(zeroedBlocks()) {
  // Empty until a read or a file load: a write before either is refused
  // instead of sending zeros.
  for (const BlockLayout& s : blockLayouts())
    controls.cells[index(s.id)].assign(s.rowNames.size(), "");
}

void ConfigBlocks::GetClick(BlockId id) { channel_.queueCmd(blockLayout(id).readCode); }

void ConfigBlocks::SetClick(BlockId id) { channel_.queueCmd(blockLayout(id).writeCode); }

void ConfigBlocks::SetAllParClick() {
  for (BlockId id : kBackupOrder) SetClick(id);
}

void ConfigBlocks::showBlock(BlockId id) {
  const std::vector<uint32_t>& v = blocks_[index(id)];
  std::vector<std::string>& cells = controls.cells[index(id)];
  for (size_t r = 0; r < cells.size(); ++r) cells[r] = cellText(v[r]);
}

// A block read or write that ended without its reply is named with its button.
void ConfigBlocks::requestEnded(int code, RequestEnd end) {
  const BlockLayout* read = blockByReadCode(code);
  const BlockLayout* write = blockByWriteCode(code);
  if (!read && !write) return;
  controls.message =
      format("%s: %s", read ? read->getButton : write->setButton, requestEndText(end));
  changed();
}

void ConfigBlocks::mainDisconnected() {
  controls.current.fill(false);
  controls.message = kNotCurrentText;
  changed();
}

void ConfigBlocks::handleReply(int code, PayloadReader& payload) {
  if (const BlockLayout* written = blockByWriteCode(code)) {
    controls.message = format("%s written: %zu values", written->setButton, written->values);
    changed();
    return;
  }
  const BlockLayout* layout = blockByReadCode(code);
  if (!layout) return;
  controls.current[index(layout->id)] = true;
  std::vector<uint32_t>& v = blocks_[index(layout->id)];
  for (size_t i = 0; i < v.size(); ++i) v[i] = payload.u32(4 * i);
  showBlock(layout->id);
  changed();
}

// The grid is read now, when the request is built. All cells must convert
// before any goes into the block; otherwise the block is left as it was and
// the command is dropped unsent with the bad cell named.
void ConfigBlocks::buildRequest(int code, RequestWriter& out) {
  const BlockLayout* layout = blockByWriteCode(code);
  if (!layout) return;
  const size_t b = index(layout->id);
  std::vector<uint32_t> v = blocks_[b];
  const std::vector<std::string>& cells = controls.cells[b];
  for (size_t r = 0; r < cells.size(); ++r) {
    const std::optional<uint32_t> parsed = parseCell32(cells[r]);
    if (!parsed) {
      controls.badBlock = layout->id;
      controls.badRow = static_cast<int>(r);
      controls.message = format("%s not sent: %s row %zu (%s): %s", layout->setButton, layout->grid,
                                r, layout->rowNames[r], CellConversionError(cells[r]).what());
      changed();
      throw RequestRefused(controls.message);
    }
    v[r] = *parsed;
  }
  blocks_[b] = std::move(v);
  if (controls.badRow >= 0 && controls.badBlock == layout->id) {
    controls.badRow = -1;
    controls.message.clear();
    changed();
  }
  for (uint32_t value : blocks_[b]) out.put32(value);
}

bool ConfigBlocks::SaveParFileClick(const std::string& path) {
  const Bytes image = encodeBlockBackup(blocks_);
  std::string error;
  const bool ok = writeFileBytes(path, image, error);
  controls.message = ok ? format("%s written: %zu bytes", path.c_str(), image.size()) : error;
  changed();
  return ok;
}

bool ConfigBlocks::GetParFileClick(const std::optional<std::string>& path) {
  bool loaded = false;
  if (path) {
    std::string error;
    const std::optional<Bytes> image = readFileBytes(*path, kBlockBackupLimit, error);
    if (!image)
      controls.message = error;
    else
      loaded = takeBackupImage(*image, *path);
  }
  for (BlockId id : kBackupOrder) showBlock(id);
  changed();
  return loaded;
}

bool ConfigBlocks::takeBackupImage(ByteView image, const std::string& name) {
  const std::optional<BlockValues> blocks = decodeBlockBackup(image);
  if (!blocks) {
    controls.message = format("%s is not a block backup: %zu bytes instead of %zu; nothing loaded",
                              name.c_str(), image.size(), kBlockBackupSize);
    return false;
  }
  blocks_ = *blocks;
  controls.current.fill(true);
  controls.message = format("%s loaded: the six blocks", name.c_str());
  // A write takes the grids' cells, so they show the image at once.
  for (BlockId id : kBackupOrder) showBlock(id);
  changed();
  return true;
}

}  // namespace vantor
