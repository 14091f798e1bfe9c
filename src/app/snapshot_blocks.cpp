#include "app/snapshot_blocks.h"

#include "link/text_format.h"

namespace vantor {

void BlocksSnapshotPart::startRead() {
  answered_ = 0;
  for (BlockId id : kBackupOrder) device_.configBlocks.GetClick(id);
}

bool BlocksSnapshotPart::readComplete(int code) {
  if (!blockByReadCode(code) || ++answered_ < kBlockCount) return false;
  deviceBlocks_ = device_.configBlocks.blocks();
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
  fileBlocks_ = blocks.blocks();
  return true;
}

std::vector<std::string> BlocksSnapshotPart::differences() const {
  std::vector<std::string> lines;
  for (const BlockLayout& layout : blockLayouts()) {
    const std::vector<uint32_t>& device = deviceBlocks_[index(layout.id)];
    const std::vector<uint32_t>& file = fileBlocks_[index(layout.id)];
    for (size_t i = 0; i < layout.values && i < device.size() && i < file.size(); ++i) {
      if (device[i] == file[i]) continue;
      const std::string row =
          i < layout.rowNames.size() ? layout.rowNames[i] : format("value %zu", i);
      lines.push_back(format("blocks: %s %s: device %u, snapshot %u", layout.block, row.c_str(),
                             device[i], file[i]));
    }
  }
  return lines;
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
