#include "link/connection.h"

#include "link/text_format.h"

namespace vantor {

class Connection::Lan2Events final : public SocketListener {
 public:
  explicit Lan2Events(Connection& c) : c_(c) {}
  void socketConnecting() override { c_.Lan2Connecting(); }
  void socketConnected() override { c_.Lan2Connect(); }
  void socketDisconnected() override { c_.Lan2Disconnect(); }
  void socketRead(ByteView bytes) override { c_.channel_.lan2Read(bytes); }
  void socketWritten() override { c_.Lan2Write(); }
  void socketError(const std::string& why) override {
    c_.socketFailed(1, "Fail Master");
    c_.hooks.mainFailed(why);
  }

 private:
  Connection& c_;
};

// PortRec ("Slave", panels 2 and 3) and MobSock ("Mob", panels 4 and 5).
class Connection::SideEvents final : public SocketListener {
 public:
  SideEvents(Connection& c, const char* who, size_t statePanel, Socket& socket,
             Signal<ByteView> ConnectionHooks::*read)
      : c_(c), who_(who), panel_(statePanel), socket_(socket), read_(read) {}
  void socketConnecting() override { c_.shell_.setError(panel_, format("Conecting %s", who_)); }
  void socketConnected() override {
    c_.shell_.setError(panel_, format("Conect %s", who_));
    c_.shell_.log(format("Conect %s", who_));
    c_.shell_.log(format("%u", socket_.localPort()));
    c_.hooks.integratorConnected(panel_ == 2 ? kIntegratorPort : kAuxIntegratorPort);
  }
  void socketDisconnected() override { c_.shell_.setError(panel_, format("Sconect %s", who_)); }
  void socketRead(ByteView bytes) override { (c_.hooks.*read_)(bytes); }
  void socketError(const std::string&) override {
    c_.socketFailed(panel_ + 1, format("Fail %s", who_).c_str());
  }
  // The integrator ports are dropped by the device on purpose (its kill port does
  // exactly that): a remote close is a disconnect, not a link error.
  void socketClosedByPeer(const std::string&) override {}

 private:
  Connection& c_;
  const char* who_;
  size_t panel_;
  Socket& socket_;
  Signal<ByteView> ConnectionHooks::*read_;
};

Connection::Connection(Shell& shell, CommandChannel& channel, Seams& seams)
    : shell_(shell),
      channel_(channel),
      lan2_(seams.makeSocket()),
      portRec_(seams.makeSocket()),
      mobSock_(seams.makeSocket()),
      relTim_(seams.makeTimer()),
      cmdTime_(seams.makeTimer()),
      timeOutConect_(seams.makeTimer()),
      replyTim_(seams.makeTimer()) {
  lan2Events_ = std::make_unique<Lan2Events>(*this);
  portRecEvents_ =
      std::make_unique<SideEvents>(*this, "Slave", 2, *portRec_, &ConnectionHooks::portRecRead);
  mobSockEvents_ =
      std::make_unique<SideEvents>(*this, "Mob", 4, *mobSock_, &ConnectionHooks::mobSockRead);
  lan2_->setListener(lan2Events_.get());
  portRec_->setListener(portRecEvents_.get());
  mobSock_->setListener(mobSockEvents_.get());
  channel_.setSocket(lan2_.get());
  channel_.setReplyTimer(replyTim_.get());
  goodReplyId_ = channel_.onGoodReply.connect([this] { goodReply(); });
  silenceId_ = channel_.onSilence.connect([this](int inARow) { replySilence(inARow); });

  relTim_->setCallback([this] { RelTimTimer(); });
  relTim_->setInterval(kPollMs);
  relTim_->setEnabled(true);
  cmdTime_->setCallback([this] { CmdTimeTimer(); });
  cmdTime_->setInterval(kIndicatorMs);
  timeOutConect_->setCallback([this] { TimeOutConectTimer(); });
  timeOutConect_->setInterval(kReconnectMs);
}

Connection::~Connection() {
  // The sockets may report a disconnect while they are torn down; nobody listens any more.
  lan2_->setListener(nullptr);
  portRec_->setListener(nullptr);
  mobSock_->setListener(nullptr);
  channel_.setSocket(nullptr);
  channel_.setReplyTimer(nullptr);
  channel_.onGoodReply.disconnect(goodReplyId_);
  channel_.onSilence.disconnect(silenceId_);
}

void Connection::LanOnClick() {
  openedHost_ = controls.host;
  if (controls.mobOpen) mobSock_->open(openedHost_, kAuxIntegratorPort);
  if (controls.recOpen) portRec_->open(openedHost_, kIntegratorPort);
  lan2_->open(openedHost_, kMainPort);
  if (controls.selAuto != PollMode::Off) SelAutoClick(PollMode::Off);
  relTim_->setEnabled(true);
}

void Connection::LanOffClick() {
  // After "Disconnect" nothing opens again until "Connect", not even a
  // reconnect that an earlier error had armed.
  timeOutConect_->setEnabled(false);
  lan2_->close();
  portRec_->close();
  mobSock_->close();
  relTim_->setEnabled(false);
}

void Connection::Lan2Connecting() { shell_.log("C..ing"); }

void Connection::Lan2Connect() {
  shell_.setError(0, "Conect Master");
  silent_ = false;
  channel_.resetReceiver();
  channel_.linkDown();
  channel_.clearQueue();
  channel_.queueCmd(70);
  channel_.queueCmd(51);
  shell_.log("Conect Master");
  shell_.log(format("%u", lan2_->localPort()));
  channel_.sendNextCmd();
  hooks.mainConnected();
}

void Connection::Lan2Write() { shell_.log("WR2"); }

void Connection::Lan2Disconnect() {
  shell_.setError(0, "Sconect Master");
  silent_ = false;
  channel_.resetReceiver();
  channel_.linkDown();
  hooks.mainDisconnected();
}

void Connection::socketFailed(size_t panel, const char* text) {
  shell_.setError(panel, text);
  ++linkErrCount_;
  shell_.setError(6, format("%d", linkErrCount_));
  portRec_->close();
  lan2_->close();
  mobSock_->close();
  timeOutConect_->setEnabled(true);
}

void Connection::TimeOutConectTimer() {
  timeOutConect_->setEnabled(false);
  lan2_->open(openedHost_, kMainPort);
  if (controls.recOpen) portRec_->open(openedHost_, kIntegratorPort);
  if (controls.mobOpen) mobSock_->open(openedHost_, kAuxIntegratorPort);
}

void Connection::SelAutoClick(PollMode mode) {
  controls.selAuto = mode;
  switch (mode) {
    case PollMode::Peso:
      relTim_->setInterval(250);
      break;
    case PollMode::BarSim:
      relTim_->setInterval(controls.speedClk);
      break;
    case PollMode::Off:
    case PollMode::Deb:
      relTim_->setInterval(1000);
      break;
  }
  shell_.changed(Area::LinkControls);
}

void Connection::SpeedClkChange(int position) {
  controls.speedClk = position;
  controls.label3 = format("%d", position);
  shell_.changed(Area::LinkControls);
}

void Connection::RelTimTimer() {
  channel_.expirePartialReply();
  if (controls.selAuto != PollMode::Off) {
    shell_.debFl = shell_.msFl = Colour::Red;
    shell_.changed(Area::Indicators);
    switch (controls.selAuto) {
      case PollMode::Deb:
        channel_.queueCmd(51);
        break;
      case PollMode::Peso:
        channel_.queueCmd(14);
        break;
      case PollMode::BarSim:
        hooks.barSimTick();
        break;
      case PollMode::Off:
        break;
    }
  }
  channel_.sendNextCmd();
  hooks.pollTickEnd();
}

// A device that stays silent while connected is reported, and its indicator
// stays red until it answers again.
void Connection::replySilence(int inARow) {
  if (inARow < kSilencesReported || silent_) return;
  silent_ = true;
  shell_.setError(0, "No reply");
  shell_.debFl = Colour::Red;
  shell_.changed(Area::Indicators);
}

void Connection::goodReply() {
  if (silent_) {
    silent_ = false;
    shell_.setError(0, "Conect Master");
  }
  shell_.debFl = shell_.slFl = Colour::Green;
  shell_.changed(Area::Indicators);
  cmdTime_->setEnabled(true);
}

void Connection::CmdTimeTimer() {
  shell_.msFl = shell_.slFl = Colour::ButtonFace;
  shell_.debFl = silent_ ? Colour::Red : Colour::ButtonFace;
  shell_.changed(Area::Indicators);
  cmdTime_->setEnabled(false);
}

}  // namespace vantor
