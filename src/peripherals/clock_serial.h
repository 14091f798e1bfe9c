#pragma once
// The Time and Comm groups of the "QX7" page: the device clock read into
// DateStr (command 6) and set from the PC's clock (command 5), and the serial
// pass-through: a text and an end character sent out of a serial port of the
// device (command 2), and that port's receive buffer read back (command 1) into
// Memo3. "Set0" and "SetFS" send the weighing module's zero and full-scale
// adjustments in turn. While the QX3 panel's query flag is set, command 2
// sends the panel's text and the answer is fetched at once for the panel.
#include <string>
#include <vector>

#include "link/command_channel.h"
#include "link/command_feature.h"
#include "link/seams.h"
#include "link/shell.h"
#include "peripherals/qx3_panel.h"
#include "peripherals/serial_texts.h"

namespace vantor {

struct ClockSerialControls {
  int portSel = 2;  // 0 .. 3
  int endCh = 13;   // 1 .. 127
  std::string strDataSend = "StrDataSend";
  std::string dateStr;
  std::vector<std::string> memo3;
  bool set0Enabled = true;
  bool setFSEnabled = false;
};

class ClockSerial final : public CommandFeature {
 public:
  static constexpr int kPortMin = 0, kPortMax = 3;
  static constexpr int kEndMin = 1, kEndMax = 127;
  // The text's length travels in one byte.
  static constexpr size_t kTextMax = 255;

  ClockSerial(Shell& shell, CommandChannel& channel, const Clock& clock, Qx3Panel& qx3)
      : shell_(shell), channel_(channel), clock_(clock), qx3_(qx3) {}

  ClockSerialControls controls;

  void GetTimeClick() { channel_.queueCmd(6); }
  void SetTimeClick() { channel_.queueCmd(5); }
  void SetStrClick() { channel_.queueCmd(2); }
  void GetRxClick() { channel_.queueCmd(1); }
  void Set0Click();
  void SetFSClick();

  // The last receive buffer image.
  const RxBuffer& rxBuffer() const { return rx_; }

  void buildRequest(int code, RequestWriter& out) override;
  void handleReply(int code, PayloadReader& payload) override;
  void requestEnded(int code, RequestEnd end) override;
  void mainDisconnected();

 private:
  void buildSend(RequestWriter& out);
  uint8_t port() const;
  void receiveBuffer(PayloadReader& payload);

  Shell& shell_;
  CommandChannel& channel_;
  const Clock& clock_;
  Qx3Panel& qx3_;
  RxBuffer rx_{};
};

}  // namespace vantor
