#pragma once
// IntegratorQueue: the pending outgoing integrator message codes, first in
// first out, at most ten. A code appended to a full queue is dropped and the
// caller is told, so it can say so.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace vantor {

class IntegratorQueue {
 public:
  static constexpr size_t kCapacity = 10;

  // False when the queue was full and the code was dropped.
  bool push(int32_t code) {
    if (count_ == kCapacity) return false;
    codes_[(head_ + count_) % kCapacity] = code;
    ++count_;
    return true;
  }
  std::optional<int32_t> head() const {
    if (count_ == 0) return std::nullopt;
    return codes_[head_];
  }
  void popHead() {
    if (count_ == 0) return;
    head_ = (head_ + 1) % kCapacity;
    --count_;
  }
  void clear() { head_ = count_ = 0; }
  size_t size() const { return count_; }
  int32_t at(size_t i) const { return codes_[(head_ + i) % kCapacity]; }

 private:
  std::array<int32_t, kCapacity> codes_{};
  size_t head_ = 0;
  size_t count_ = 0;
};

}  // namespace vantor
