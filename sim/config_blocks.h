#pragma once

// The six fixed configuration blocks: arrays of uint32 read by one command
// and written by another. A read answers the block's bytes, value 0 first; a
// write of exactly the block's size replaces it (any other size gets NAK), so
// the next read echoes what was written.
//
//   block     values  read  write
//   system      30     52    11
//   module      10     16    15
//   zero         8     36    37
//   comm        12     22    23
//   product     18     24    25
//   sorter       7     45    46

#include <cstdint>
#include <vector>

#include "sim_device.h"

namespace rwsim {

struct SimBlock {
  std::uint8_t readCommand;
  std::uint8_t writeCommand;
  std::vector<std::uint32_t> values;
};

class SimConfigBlocks {
 public:
  // The blocks of a commissioned line; the module offset is 4294967295 and
  // the zero block's last two words are distinct markers.
  SimConfigBlocks();

  // Registers the twelve read and write handlers.
  void install(SimDevice& device);

  const std::vector<SimBlock>& blocks() const { return blocks_; }

 private:
  std::vector<SimBlock> blocks_;
};

}  // namespace rwsim
