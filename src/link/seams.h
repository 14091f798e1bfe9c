#pragma once
// The core's seams: sockets, timers and the clock are given to the core from
// outside (Qt in the tool, fakes in the tests). The core never blocks on them.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "link/bytes.h"

namespace vantor {

class SocketListener {
 public:
  virtual ~SocketListener() = default;
  virtual void socketConnecting() {}
  virtual void socketConnected() {}
  virtual void socketDisconnected() {}
  virtual void socketRead(ByteView bytes) = 0;
  virtual void socketWritten() {}
  virtual void socketError(const std::string& text) = 0;
  // The peer closed the connection; a disconnect event follows. Unless a listener
  // says otherwise, that is an error like any other.
  virtual void socketClosedByPeer(const std::string& text) { socketError(text); }
};

// A non-blocking TCP client. Opening an open socket does nothing; writing while
// not connected does nothing.
class Socket {
 public:
  virtual ~Socket() = default;
  virtual void setListener(SocketListener* listener) = 0;
  virtual void open(const std::string& host, uint16_t port) = 0;
  virtual void close() = 0;
  virtual void write(ByteView bytes) = 0;
  virtual bool connected() const = 0;
  virtual uint16_t localPort() const = 0;
};

class Timer {
 public:
  virtual ~Timer() = default;
  virtual void setCallback(std::function<void()> tick) = 0;
  virtual void setInterval(int ms) = 0;
  virtual int interval() const = 0;
  virtual void setEnabled(bool on) = 0;
  virtual bool enabled() const = 0;
};

struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual int64_t monotonicMs() const = 0;
  virtual LocalTime localTime() const = 0;
};

// Makes the seams for one composition of the tool.
class Seams {
 public:
  virtual ~Seams() = default;
  virtual std::unique_ptr<Socket> makeSocket() = 0;
  virtual std::unique_ptr<Timer> makeTimer() = 0;
  virtual Clock& clock() = 0;
};

}  // namespace vantor
