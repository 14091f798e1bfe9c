#pragma once
// BlockBackupFile: the six configuration blocks back to back in one binary
// image of exactly 340 bytes, no header, each value 4 bytes little-endian, in
// the order CommBlock, ZeroBlock (all 8 values), ProdParBlock, Ad104Block,
// SysBlock, SorterBlock.
#include <cstddef>
#include <optional>

#include "config/config_block.h"
#include "link/bytes.h"

namespace vantor {

inline constexpr size_t kBlockBackupSize = 340;

Bytes encodeBlockBackup(const BlockValues& blocks);
// The blocks of an image of exactly 340 bytes; nothing for any other size.
std::optional<BlockValues> decodeBlockBackup(ByteView image);

}  // namespace vantor
