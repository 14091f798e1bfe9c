#pragma once
// A hook with any number of subscribers. Subscribing returns an id that ends the
// subscription; a slot may subscribe or unsubscribe (itself or others) while the
// signal is being emitted: slots added during an emission are called from the next
// one, slots removed are not called again.
#include <cstddef>
#include <deque>
#include <functional>
#include <utility>

namespace vantor {

template <typename... Args>
class Signal {
 public:
  using Slot = std::function<void(Args...)>;
  using Id = size_t;

  Id connect(Slot slot) {
    slots_.push_back({++lastId_, std::move(slot)});
    return lastId_;
  }

  void disconnect(Id id) {
    for (Entry& e : slots_)
      if (e.id == id) e.slot = nullptr;
    if (emitting_ == 0) compact();
  }

  bool empty() const {
    for (const Entry& e : slots_)
      if (e.slot) return false;
    return true;
  }

  void operator()(Args... args) const {
    ++emitting_;
    const size_t count = slots_.size();
    for (size_t i = 0; i < count; ++i)
      if (slots_[i].slot) slots_[i].slot(args...);
    if (--emitting_ == 0) const_cast<Signal*>(this)->compact();
  }

 private:
  struct Entry {
    Id id;
    Slot slot;
  };

  void compact() {
    std::erase_if(slots_, [](const Entry& e) { return !e.slot; });
  }

  std::deque<Entry> slots_;  // a deque keeps a running slot in place while others are added
  Id lastId_ = 0;
  mutable int emitting_ = 0;
};

// Ends a subscription when it goes out of scope.
template <typename... Args>
class Subscription {
 public:
  Subscription(Signal<Args...>& signal, typename Signal<Args...>::Slot slot)
      : signal_(signal), id_(signal.connect(std::move(slot))) {}
  ~Subscription() { signal_.disconnect(id_); }
  Subscription(const Subscription&) = delete;
  Subscription& operator=(const Subscription&) = delete;

 private:
  Signal<Args...>& signal_;
  typename Signal<Args...>::Id id_;
};

}  // namespace vantor
