#include "peripherals/clock_serial.h"

#include "link/text_format.h"
#include "link/tx_frame.h"

namespace vantor {

void ClockSerial::Set0Click() {
  if (!controls.set0Enabled) return;
  controls.strDataSend = "IZA";
  channel_.queueCmd(2);
  controls.set0Enabled = false;
  controls.setFSEnabled = true;
  shell_.changed(Area::ClockSerial);
}

void ClockSerial::SetFSClick() {
  if (!controls.setFSEnabled) return;
  controls.strDataSend = "IFA;NRP1";
  channel_.queueCmd(2);
  controls.setFSEnabled = false;
  controls.set0Enabled = true;
  shell_.changed(Area::ClockSerial);
}

uint8_t ClockSerial::port() const {
  if (controls.portSel < kPortMin || controls.portSel > kPortMax)
    throw RequestRefused(format("Serial port %d: not sent, the ports are %d to %d",
                                controls.portSel, kPortMin, kPortMax));
  return static_cast<uint8_t>(controls.portSel);
}

void ClockSerial::buildRequest(int code, RequestWriter& out) {
  switch (code) {
    case 1:
      out.put8(port());
      break;
    case 2:
      buildSend(out);
      break;
    case 5: {
      const auto digits = clockRequest(clock_.localTime());
      out.putBytes(digits);
      break;
    }
    default:
      break;
  }
}

// Port, text, end character. A text too long for its buffer is not sent at
// all: cut short, it would reach the port as a different command.
void ClockSerial::buildSend(RequestWriter& out) {
  const bool forPanel = qx3_.panelQuery();
  const std::string& text = forPanel ? qx3_.passThrough() : controls.strDataSend;
  const size_t limit = forPanel ? Qx3Panel::kPassThroughMax : kTextMax;
  if (text.size() > limit) {
    if (forPanel) qx3_.abandon();
    throw RequestRefused(format("%s of %zu characters not sent: at most %zu characters",
                                forPanel ? "QX3 text" : "Serial text", text.size(), limit));
  }
  if (controls.endCh < kEndMin || controls.endCh > kEndMax) {
    if (forPanel) qx3_.abandon();
    throw RequestRefused(
        format("End character %d: not sent, it is %d to %d", controls.endCh, kEndMin, kEndMax));
  }
  const uint8_t portByte = port();
  out.put8(portByte);
  for (char c : text) out.put8(static_cast<uint8_t>(c));
  out.put8(static_cast<uint8_t>(controls.endCh));
}

void ClockSerial::handleReply(int code, PayloadReader& payload) {
  switch (code) {
    case 1:
      receiveBuffer(payload);
      break;
    case 2:
      if (qx3_.panelQuery()) channel_.queueCmd(1);
      break;
    case 6:
      controls.dateStr = dateStrText(payload);
      shell_.changed(Area::ClockSerial);
      break;
    default:
      break;
  }
}

void ClockSerial::receiveBuffer(PayloadReader& payload) {
  rx_ = decodeRxBuffer(payload);
  if (qx3_.panelQuery()) qx3_.answered(rxText(rx_));
  controls.memo3 = memo3Lines(rx_);
  shell_.changed(Area::ClockSerial);
}

// A module answer that will not come no longer holds the panel's flag, so the
// Comm group's next "SetStr" sends its own text again.
void ClockSerial::requestEnded(int code, RequestEnd end) {
  (void)end;
  if ((code == 1 || code == 2) && qx3_.panelQuery()) qx3_.abandon();
}

void ClockSerial::mainDisconnected() { qx3_.abandon(); }

}  // namespace vantor
