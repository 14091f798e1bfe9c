#pragma once
// The auxiliary command socket Lan3 (port 46990) of the "Deb" page's Panel2:
// its one request kills the connections of one of the device's service ports,
// chosen in SelPort ("Van" main port, "Mob" port 46000, "Int" port 49000). The
// request is 0x55, the item index s (0xFF with no item chosen), (0x55 + s) mod
// 256. Nothing is read from Lan3. Lan3 is independent of the main link.
//
// Also the page's one-byte debug command 53 (Button3 with CSpinEdit1).
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "link/command_channel.h"
#include "link/command_feature.h"
#include "link/connection.h"
#include "link/seams.h"
#include "link/shell.h"
#include "link/signal.h"

namespace vantor {

inline constexpr uint16_t kAuxCommandPort = 46990;

struct AuxSocketControls {
  int selPort = -1;  // -1 none, 0 "Van", 1 "Mob", 2 "Int"
  bool lan3OnEnabled = true;
  bool lan3OffEnabled = false;
  bool lan3SendEnabled = false;
  std::string lan3Txt = "Lan3Txt";
  int cSpinEdit1 = 0;  // 0 .. 255
};

// The three bytes of a kill request for SelPort's item index (-1: none).
std::array<uint8_t, 3> killRequest(int selPort);

class AuxSocket final : public CommandFeature, private SocketListener {
 public:
  AuxSocket(Shell& shell, CommandChannel& channel, Seams& seams, const ConnectionControls& link);

  AuxSocketControls controls;

  void Lan3OnClick();
  void Lan3SendClick();
  void Lan3OffClick();
  void Button3Click() { channel_.queueCmd(53); }

  void buildRequest(int code, RequestWriter& out) override;

  Socket& lan3() { return *lan3_; }
  Signal<> onConnected;
  Signal<const std::string&> onFailed;

 private:
  void socketConnected() override;
  void socketDisconnected() override;
  void socketRead(ByteView) override {}
  void socketError(const std::string& text) override;
  void socketClosedByPeer(const std::string&) override {}  // the disconnect says it
  void changed() { shell_.changed(Area::Diagnosis); }

  Shell& shell_;
  CommandChannel& channel_;
  const ConnectionControls& link_;
  std::unique_ptr<Socket> lan3_;
};

}  // namespace vantor
