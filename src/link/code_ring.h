#pragma once
// CodeRing: a first-in-first-out queue of command or message codes of a fixed
// capacity, kept in a ring. A code appended to a full ring is dropped, and
// push says so.
#include <array>
#include <cstddef>
#include <optional>

namespace vantor {

template <size_t Capacity>
class CodeRing {
 public:
  static constexpr size_t kCapacity = Capacity;

  // False when the ring was full and the code was dropped.
  bool push(int code) {
    if (count_ == kCapacity) return false;
    codes_[(head_ + count_) % kCapacity] = code;
    ++count_;
    return true;
  }
  std::optional<int> head() const {
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
  int at(size_t i) const { return codes_[(head_ + i) % kCapacity]; }
  bool contains(int code) const {
    for (size_t i = 0; i < count_; ++i)
      if (at(i) == code) return true;
    return false;
  }

 private:
  std::array<int, kCapacity> codes_{};
  size_t head_ = 0;
  size_t count_ = 0;
};

}  // namespace vantor
