#include "app/snapshot_blocks.h"

#include "link/text_format.h"

namespace vantor {

void BlocksSnapshotPart::startRead() {
  answered_ = 0;
  for (BlockId id : kBackupOrder) device_.configBlocks.GetClick(id);
}

bool BlocksSnapshotPart::readComplete(int code) {
  if (!blockByReadCode(code) || ++answered_ < kBlockCount) return false;
  deviceRead(encodeBlockBackup(device_.configBlocks.blocks()));
  return true;
}

bool BlocksSnapshotPart::saveFile(const std::string& path, std::string& error) {
  ConfigBlocks& blocks = device_.configBlocks;
  if (blocks.SaveParFileClick(path)) return true;
  error = blocks.controls.message;
  return false;
}

bool BlocksSnapshotPart::takeFile(const std::string& path, ByteView bytes, std::string& error) {
  ConfigBlocks& blocks = device_.configBlocks;
  if (!blocks.takeBackupImage(bytes, path)) {
    error = blocks.controls.message;
    return false;
  }
  fileTaken(bytes);
  return true;
}

std::optional<NamedCells> BlocksSnapshotPart::fileCells(ByteView bytes, std::string& error) const {
  const std::optional<BlockValues> blocks = decodeBlockBackup(bytes);
  if (!blocks) {
    error = format("not a block backup: %zu bytes", bytes.size());
    return std::nullopt;
  }
  NamedCells cells;
  for (const BlockLayout& layout : blockLayouts()) {
    const std::vector<uint32_t>& values = (*blocks)[index(layout.id)];
    for (size_t i = 0; i < layout.values && i < values.size(); ++i) {
      const std::string row =
          i < layout.rowNames.size() ? layout.rowNames[i] : format("value %zu", i);
      cells.push_back({format("%s %s", layout.block, row.c_str()), std::to_string(values[i])});
    }
  }
  return cells;
}

void BlocksSnapshotPart::startWrite() {
  answered_ = 0;
  writing_ = true;
  device_.configBlocks.SetAllParClick();
}

bool BlocksSnapshotPart::writeComplete(int code) {
  if (writing_) {
    if (!blockByWriteCode(code) || ++answered_ < kBlockCount) return false;
    writing_ = false;
    startRead();
    return false;
  }
  return readComplete(code);
}

}  // namespace vantor
