#pragma once
// BlockBackupFile: the six configuration blocks back to back in one binary
// image of exactly 340 bytes, no header, each value 4 bytes little-endian, in
// the order CommBlock, ZeroBlock (all 8 values), ProdParBlock, Ad104Block,
// SysBlock, SorterBlock.
#include <cstddef>
#include <optional>

#include "config/config_block.h"
#include "config/file_bytes.h"
#include "link/bytes.h"

namespace vantor {

inline constexpr size_t kBlockBackupSize = 340;
// A longer file is refused by its size, unread.
inline constexpr FileLimit kBlockBackupLimit{kBlockBackupSize, "a block backup"};

Bytes encodeBlockBackup(const BlockValues& blocks);
// The blocks of an image of exactly 340 bytes; nothing for any other size.
std::optional<BlockValues> decodeBlockBackup(ByteView image);

}  // namespace vantor
