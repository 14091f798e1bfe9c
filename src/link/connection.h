#pragma once
// The device connection: the main-port socket Lan2 and the two integrator
// sockets, the poll tick, the indicator reset and the reconnect after an error.
#include <functional>
#include <memory>
#include <string>

#include "link/command_channel.h"
#include "link/seams.h"
#include "link/shell.h"
#include "link/signal.h"

namespace vantor {

inline constexpr uint16_t kMainPort = 47000;
inline constexpr uint16_t kIntegratorPort = 49000;
inline constexpr uint16_t kAuxIntegratorPort = 46000;

enum class PollMode { Off = 0, Deb = 1, Peso = 2, BarSim = 3 };

// The controls of the top row that the connection reads and writes.
struct ConnectionControls {
  std::string host;
  bool recOpen = false;  // "Open 49000"
  bool mobOpen = false;  // "Open 46000"
  PollMode selAuto = PollMode::Off;
  int speedClk = 1000;  // 250 .. 2000 ms
  std::string label3 = "1000";
};

// What other features hang on connection events.
struct ConnectionHooks {
  Signal<> mainConnected;                 // after the version and status requests are queued
  Signal<const std::string&> mainFailed;  // an error event of Lan2
  Signal<> mainDisconnected;              // loaded flags, save panels, access level
  Signal<> barSimTick;                    // line simulator barcode and integrator message
  Signal<> pollTickEnd;                   // integrator queue sender
  Signal<uint16_t> integratorConnected;   // the port that connected
  Signal<ByteView> portRecRead;
  Signal<ByteView> mobSockRead;
};

class Connection {
 public:
  static constexpr int kPollMs = 250;
  static constexpr int kIndicatorMs = 200;
  static constexpr int kReconnectMs = 1000;
  static constexpr int kSilencesReported = 3;  // reply timeouts in a row before "No reply"

  Connection(Shell& shell, CommandChannel& channel, Seams& seams);
  ~Connection();

  ConnectionControls controls;
  ConnectionHooks hooks;

  // User actions.
  void LanOnClick();
  void LanOffClick();
  void SelAutoClick(PollMode mode);
  void SpeedClkChange(int position);
  void ResetClick() { channel_.queueCmd(82); }

  // Timer ticks (public so the tests can fire them by hand through the fakes).
  void RelTimTimer();
  void CmdTimeTimer();
  void TimeOutConectTimer();

  int32_t linkErrCount() const { return linkErrCount_; }
  Socket& lan2() { return *lan2_; }
  Socket& portRec() { return *portRec_; }
  Socket& mobSock() { return *mobSock_; }
  Timer& relTim() { return *relTim_; }
  Timer& cmdTime() { return *cmdTime_; }
  Timer& timeOutConect() { return *timeOutConect_; }
  Timer& replyTim() { return *replyTim_; }

 private:
  class Lan2Events;
  class SideEvents;
  friend class Lan2Events;
  friend class SideEvents;

  void Lan2Connecting();
  void Lan2Connect();
  void Lan2Write();
  void Lan2Disconnect();
  void socketFailed(size_t panel, const char* text);
  void goodReply();
  void replySilence(int inARow);

  Shell& shell_;
  CommandChannel& channel_;
  std::string openedHost_;  // the host of the last Connect, used by the reconnect
  int32_t linkErrCount_ = 0;
  Signal<>::Id goodReplyId_ = 0;
  Signal<int>::Id silenceId_ = 0;
  std::unique_ptr<Socket> lan2_, portRec_, mobSock_;
  std::unique_ptr<Timer> relTim_, cmdTime_, timeOutConect_, replyTim_;
  bool silent_ = false;  // "No reply": the device stopped answering
  std::unique_ptr<Lan2Events> lan2Events_;
  std::unique_ptr<SideEvents> portRecEvents_, mobSockEvents_;
};

}  // namespace vantor
