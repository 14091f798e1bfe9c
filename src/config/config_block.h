#pragma once
// The six fixed configuration blocks of the device: plain arrays of 32-bit
// values whose meaning the tool knows only by the row names of their grids.
// Each has one read and one write command; the request or reply carries the
// block's bytes, value 0 first, little-endian.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vantor {

enum class BlockId : uint8_t { Sys, Ad104, Zero, Comm, ProdPar, Sorter };
inline constexpr size_t kBlockCount = 6;

struct BlockLayout {
  BlockId id;
  const char* block;      // "SysBlock"
  const char* grid;       // the grid control, "SysPar"
  const char* getButton;  // "GetSys"
  const char* setButton;  // "SetSys"
  int readCode;
  int writeCode;
  size_t values;                          // values in the block
  std::span<const char* const> rowNames;  // the grid's rows, at most `values`
  size_t bytes() const { return values * 4; }
};

// Indexed by BlockId.
std::span<const BlockLayout> blockLayouts();
const BlockLayout& blockLayout(BlockId id);
const BlockLayout* blockByReadCode(int code);
const BlockLayout* blockByWriteCode(int code);

// The order of the backup file; "SetAllPar" writes in it and a file load
// refreshes the grids in it.
inline constexpr std::array<BlockId, kBlockCount> kBackupOrder = {
    BlockId::Comm, BlockId::Zero, BlockId::ProdPar, BlockId::Ad104, BlockId::Sys, BlockId::Sorter};

// The values of all six blocks, indexed by BlockId, each sized as its block.
using BlockValues = std::array<std::vector<uint32_t>, kBlockCount>;
BlockValues zeroedBlocks();

inline size_t index(BlockId id) { return static_cast<size_t>(id); }

}  // namespace vantor
