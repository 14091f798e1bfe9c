#pragma once
// Fake seams: sockets that record what is written and let a test inject events,
// timers fired by hand, a clock set by hand.
#include <memory>
#include <string>
#include <vector>

#include "link/seams.h"

namespace vantor::test {

class FakeSocket final : public Socket {
 public:
  void setListener(SocketListener* l) override { listener = l; }
  void open(const std::string& h, uint16_t p) override {
    ++opens;
    if (state != State::Closed) return;
    host = h;
    port = p;
    state = State::Opening;
  }
  void close() override {
    ++closes;
    const bool was = state == State::Connected;
    state = State::Closed;
    if (was && listener) listener->socketDisconnected();
  }
  void write(ByteView bytes) override {
    if (state != State::Connected) {
      ++droppedWrites;
      return;
    }
    writes.emplace_back(bytes.begin(), bytes.end());
  }
  bool connected() const override { return state == State::Connected; }
  uint16_t localPort() const override { return 50123; }

  // Test side.
  void connect() {
    if (listener) listener->socketConnecting();
    state = State::Connected;
    if (listener) listener->socketConnected();
  }
  void receive(const Bytes& bytes) { listener->socketRead(bytes); }
  void fail(const std::string& why = "Connection refused") { listener->socketError(why); }
  // The peer closes the connection: the error event of a remote close, then the disconnect.
  void closeByPeer() {
    listener->socketClosedByPeer("The remote host closed the connection");
    if (state == State::Connected) {
      state = State::Closed;
      if (listener) listener->socketDisconnected();
    }
  }
  Bytes takeWrite() {
    if (writes.empty()) return {};
    Bytes first = writes.front();
    writes.erase(writes.begin());
    return first;
  }

  enum class State { Closed, Opening, Connected };
  State state = State::Closed;
  SocketListener* listener = nullptr;
  std::string host;
  uint16_t port = 0;
  std::vector<Bytes> writes;
  int opens = 0, closes = 0, droppedWrites = 0;
};

class FakeTimer final : public Timer {
 public:
  void setCallback(std::function<void()> t) override { tick = std::move(t); }
  void setInterval(int ms) override { intervalMs = ms; }
  int interval() const override { return intervalMs; }
  void setEnabled(bool on) override { on_ = on; }
  bool enabled() const override { return on_; }
  void fire() {
    if (on_ && tick) tick();
  }

  std::function<void()> tick;
  int intervalMs = 0;

 private:
  bool on_ = false;
};

class FakeClock final : public Clock {
 public:
  int64_t monotonicMs() const override { return nowMs; }
  LocalTime localTime() const override { return local; }
  int64_t nowMs = 1000;
  LocalTime local{2026, 12, 10, 10, 59, 0};
};

class FakeSeams final : public Seams {
 public:
  std::unique_ptr<Socket> makeSocket() override {
    auto s = std::make_unique<FakeSocket>();
    sockets.push_back(s.get());
    return s;
  }
  std::unique_ptr<Timer> makeTimer() override {
    auto t = std::make_unique<FakeTimer>();
    timers.push_back(t.get());
    return t;
  }
  Clock& clock() override { return clockImpl; }

  std::vector<FakeSocket*> sockets;
  std::vector<FakeTimer*> timers;
  FakeClock clockImpl;
};

// Builds a reply frame as the device sends it: ACK then the payload.
Bytes replyFrame(int code, const Bytes& payload, uint16_t counter = 7, uint8_t ack = 0x06);
// Parses "02 00 01 ..." into bytes.
Bytes hex(const std::string& text);
// The parameter bytes of a request frame (after CMD, before the checksum); none for no frame.
Bytes requestParams(const Bytes& frame);

}  // namespace vantor::test
