#pragma once
// The first-in-first-out queue of pending command codes of the main port.
// It holds codes only; each request's parameters are read when it is built.
#include <array>
#include <cstddef>
#include <optional>

namespace vantor {

class CmdQueue {
 public:
  static constexpr size_t kCapacity = 100;

  // Appends the code; a full queue drops it without a word.
  void push(int code) {
    if (count_ == kCapacity) return;
    codes_[(head_ + count_) % kCapacity] = code;
    ++count_;
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
