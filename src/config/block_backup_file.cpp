#include "config/block_backup_file.h"

namespace vantor {

Bytes encodeBlockBackup(const BlockValues& blocks) {
  Bytes out;
  out.reserve(kBlockBackupSize);
  for (BlockId id : kBackupOrder)
    for (uint32_t v : blocks[index(id)])
      for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(v >> shift));
  return out;
}

std::optional<BlockValues> decodeBlockBackup(ByteView image) {
  if (image.size() != kBlockBackupSize) return std::nullopt;
  BlockValues blocks = zeroedBlocks();
  PayloadReader reader(image);
  size_t at = 0;
  for (BlockId id : kBackupOrder)
    for (uint32_t& v : blocks[index(id)]) {
      v = reader.u32(at);
      at += 4;
    }
  return blocks;
}

}  // namespace vantor
