#pragma once
// Stand-ins for a device on a loopback address, for what rw4000-sim does not
// do: a port whose connects never complete, and replies scripted byte for byte.
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace vantor::e2e {

// A listening socket on HOST:PORT whose accept queue is filled and never
// accepted from, so a further connect stays unanswered (its SYNs are dropped).
class StalledListener {
 public:
  StalledListener(const std::string& host, uint16_t port);
  ~StalledListener();
  StalledListener(const StalledListener&) = delete;
  StalledListener& operator=(const StalledListener&) = delete;

  // True once a connect of its own was seen not to complete.
  bool stalled() const { return stalled_; }

 private:
  int listener_ = -1;
  std::vector<int> fillers_;
  bool stalled_ = false;
};

// A device on HOST:PORT, on its own thread: it accepts one connection and
// answers the first bytes it reads with `reply`, in one write; then it reads
// until the peer closes.
class ScriptedDevice {
 public:
  ScriptedDevice(const std::string& host, uint16_t port, std::string reply);
  ~ScriptedDevice();
  ScriptedDevice(const ScriptedDevice&) = delete;
  ScriptedDevice& operator=(const ScriptedDevice&) = delete;

  bool listening() const { return listener_ >= 0; }
  bool answered() const { return answered_; }

 private:
  void serve();

  int listener_ = -1;
  std::string reply_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> answered_{false};
  std::thread thread_;
};

}  // namespace vantor::e2e
