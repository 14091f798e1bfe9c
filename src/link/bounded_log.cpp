#include "link/bounded_log.h"

#include <utility>

namespace vantor {

void BoundedLog::append(std::string line) {
  if (lines_.size() == capacity_) {
    lines_.pop_front();
    if (!toldDropped_) {
      toldDropped_ = true;
      lines_.pop_front();
      lines_.push_back("(older lines dropped: only the newest lines are kept)");
      ++total_;
    }
  }
  lines_.push_back(std::move(line));
  ++total_;
}

void BoundedLog::clear() {
  lines_.clear();
  total_ = 0;
  toldDropped_ = false;
}

}  // namespace vantor
