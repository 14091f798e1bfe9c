#include "link/guarded_seams.h"

#include <exception>

namespace vantor {

void runEventGuarded(Shell& shell, const std::function<void()>& event) {
  try {
    event();
  } catch (const std::exception& e) {
    shell.alert(e.what());
  } catch (...) {
    shell.alert("Unknown error");
  }
}

namespace {

class GuardedSocket final : public Socket, private SocketListener {
 public:
  GuardedSocket(std::unique_ptr<Socket> inner, Shell& shell)
      : inner_(std::move(inner)), shell_(shell) {
    inner_->setListener(this);
  }
  ~GuardedSocket() override { inner_->setListener(nullptr); }

  void setListener(SocketListener* listener) override { listener_ = listener; }
  void open(const std::string& host, uint16_t port) override { inner_->open(host, port); }
  void close() override { inner_->close(); }
  void write(ByteView bytes) override { inner_->write(bytes); }
  bool connected() const override { return inner_->connected(); }
  uint16_t localPort() const override { return inner_->localPort(); }

 private:
  template <typename F>
  void forward(F&& call) {
    if (!listener_) return;
    runEventGuarded(shell_, [&] { call(*listener_); });
  }
  void socketConnecting() override {
    forward([](SocketListener& l) { l.socketConnecting(); });
  }
  void socketConnected() override {
    forward([](SocketListener& l) { l.socketConnected(); });
  }
  void socketDisconnected() override {
    forward([](SocketListener& l) { l.socketDisconnected(); });
  }
  void socketRead(ByteView bytes) override {
    forward([&](SocketListener& l) { l.socketRead(bytes); });
  }
  void socketWritten() override {
    forward([](SocketListener& l) { l.socketWritten(); });
  }
  void socketError(const std::string& text) override {
    forward([&](SocketListener& l) { l.socketError(text); });
  }
  void socketClosedByPeer(const std::string& text) override {
    forward([&](SocketListener& l) { l.socketClosedByPeer(text); });
  }

  std::unique_ptr<Socket> inner_;
  Shell& shell_;
  SocketListener* listener_ = nullptr;
};

class GuardedTimer final : public Timer {
 public:
  GuardedTimer(std::unique_ptr<Timer> inner, Shell& shell)
      : inner_(std::move(inner)), shell_(shell) {}
  void setCallback(std::function<void()> tick) override {
    inner_->setCallback([this, tick = std::move(tick)] {
      if (tick) runEventGuarded(shell_, tick);
    });
  }
  void setInterval(int ms) override { inner_->setInterval(ms); }
  int interval() const override { return inner_->interval(); }
  void setEnabled(bool on) override { inner_->setEnabled(on); }
  bool enabled() const override { return inner_->enabled(); }

 private:
  std::unique_ptr<Timer> inner_;
  Shell& shell_;
};

}  // namespace

std::unique_ptr<Socket> GuardedSeams::makeSocket() {
  return std::make_unique<GuardedSocket>(inner_.makeSocket(), shell_);
}

std::unique_ptr<Timer> GuardedSeams::makeTimer() {
  return std::make_unique<GuardedTimer>(inner_.makeTimer(), shell_);
}

}  // namespace vantor
