#pragma once
// The lines of a memo: the newest `capacity` lines are kept, older ones are
// dropped. The first time lines are dropped, a line saying so is added, once.
#include <cstddef>
#include <deque>
#include <string>

namespace vantor {

class BoundedLog {
 public:
  static constexpr size_t kDefaultCapacity = 20000;

  explicit BoundedLog(size_t capacity = kDefaultCapacity)
      : capacity_(capacity < 2 ? 2 : capacity) {}

  void append(std::string line);
  void clear();

  size_t size() const { return lines_.size(); }
  bool empty() const { return lines_.empty(); }
  const std::string& operator[](size_t i) const { return lines_[i]; }
  const std::string& back() const { return lines_.back(); }
  auto begin() const { return lines_.begin(); }
  auto end() const { return lines_.end(); }

  // Every line appended since the start; lines [total() - size(), total()) are held.
  // A reader that remembers total() knows how many new lines to show.
  size_t total() const { return total_; }
  size_t dropped() const { return total_ - lines_.size(); }

 private:
  size_t capacity_;
  std::deque<std::string> lines_;
  size_t total_ = 0;
  bool toldDropped_ = false;
};

}  // namespace vantor
