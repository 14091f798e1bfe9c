#include "kill_port.h"

namespace rwsim {

std::vector<std::uint8_t> KillRequestReader::feed(std::span<const std::uint8_t> bytes) {
  std::vector<std::uint8_t> killed;
  for (const std::uint8_t b : bytes) {
    if (pending_.empty() && b != 0x55) {
      ++rejected_;
      continue;
    }
    pending_.push_back(b);
    if (pending_.size() < 3) continue;
    if (static_cast<std::uint8_t>(0x55 + pending_[1]) == pending_[2]) {
      killed.push_back(pending_[1]);
      pending_.clear();
    } else {
      ++rejected_;
      pending_.erase(pending_.begin());  // resynchronise from the next byte
      while (!pending_.empty() && pending_.front() != 0x55) pending_.erase(pending_.begin());
    }
  }
  return killed;
}

std::uint16_t killedPort(std::uint8_t index) {
  switch (index) {
    case 0:
      return 47000;
    case 1:
      return 46000;
    case 2:
      return 49000;
    default:
      return 0;
  }
}

}  // namespace rwsim
