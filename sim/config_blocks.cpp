#include "config_blocks.h"

#include "le_bytes.h"

namespace rwsim {

SimConfigBlocks::SimConfigBlocks()
    : blocks_{
          {52, 11, {1,  1, 20, 3, 2000, 1,    16,   150,  5,    1,    300, 200, 80,  0, 250,
                    60, 0, 0,  0, 2,    1000, 1000, 1000, 1000, 1000, 60,  120, 240, 0, 1}},
          {16, 15, {100000, 4, 1, 3, 65000, 0, 1, 0, 1, 0xFFFFFFFFu}},
          {36, 37, {3, 50, 8, 1, 2, 10, 0xA5A50001u, 0x5A5A0002u}},
          {22, 23, {2, 1, 3, 9600, 19200, 13, 10, 115200, 13, 1, 0, 1}},
          {24, 25, {1, 1, 31, 0, 600, 32, 0, 6, 0, 8, 6, 18, 14, 32, 44, 1, 0, 7}},
          {45, 46, {0, 100, 150, 200, 50, 60, 70}},
      } {}

void SimConfigBlocks::install(SimDevice& device) {
  for (std::size_t i = 0; i < blocks_.size(); ++i) {
    device.setHandler(blocks_[i].readCommand, [this, i](const Frame&) {
      Answer a;
      for (std::uint32_t v : blocks_[i].values) {
        appendLe32(a.payload, v);
      }
      return a;
    });
    device.setHandler(blocks_[i].writeCommand, [this, i](const Frame& request) {
      std::vector<std::uint32_t>& values = blocks_[i].values;
      if (request.params.size() != 4 * values.size()) {
        return Answer{kNak, {}};
      }
      for (std::size_t v = 0; v < values.size(); ++v) {
        values[v] = readLe32(request.params, 4 * v);
      }
      return Answer{};
    });
  }
}

}  // namespace rwsim
