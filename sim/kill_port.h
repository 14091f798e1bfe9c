#pragma once

// The auxiliary command port 46990: kill requests of three bytes, 0x55, the
// port index s, (0x55 + s) mod 256. Index 0 names the main port, 1 port 46000,
// 2 port 49000. A request whose first or check byte is wrong is dropped and
// the search goes on from the next byte.

#include <cstdint>
#include <span>
#include <vector>

namespace rwsim {

class KillRequestReader {
 public:
  // The port indexes of the good requests completed by these bytes.
  std::vector<std::uint8_t> feed(std::span<const std::uint8_t> bytes);
  std::size_t rejected() const { return rejected_; }

 private:
  std::vector<std::uint8_t> pending_;
  std::size_t rejected_ = 0;
};

// The TCP port a kill index names, or 0 for an index naming none.
std::uint16_t killedPort(std::uint8_t index);

}  // namespace rwsim
