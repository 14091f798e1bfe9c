#include "peripherals/aux_socket.h"

#include "link/text_format.h"

namespace vantor {

std::array<uint8_t, 3> killRequest(int selPort) {
  const uint8_t s = selPort >= 0 && selPort <= 2 ? static_cast<uint8_t>(selPort) : 0xFF;
  return {0x55, s, static_cast<uint8_t>(0x55 + s)};
}

AuxSocket::AuxSocket(Shell& shell, CommandChannel& channel, Seams& seams,
                     const ConnectionControls& link)
    : shell_(shell), channel_(channel), link_(link), lan3_(seams.makeSocket()) {
  lan3_->setListener(this);
}

void AuxSocket::Lan3OnClick() { lan3_->open(link_.host, kAuxCommandPort); }

void AuxSocket::socketConnected() {
  controls.lan3Txt = "Conect3";
  controls.lan3OffEnabled = true;
  controls.lan3SendEnabled = true;
  changed();
  onConnected();
}

void AuxSocket::Lan3SendClick() {
  const std::array<uint8_t, 3> request = killRequest(controls.selPort);
  lan3_->write(request);
}

void AuxSocket::Lan3OffClick() {
  lan3_->close();
  controls.lan3OffEnabled = false;
  controls.lan3SendEnabled = false;
  changed();
}

// The buttons keep their state: only the text tells of the end.
void AuxSocket::socketDisconnected() {
  controls.lan3Txt = "Sconect3";
  changed();
}

// A failed connection is the application's standard error message; nothing
// else changes.
void AuxSocket::socketError(const std::string& text) {
  const std::string message =
      format("Lan3 %s:%u: %s", link_.host.c_str(), kAuxCommandPort, text.c_str());
  lan3_->close();
  shell_.alert(message);
  onFailed(message);
}

void AuxSocket::buildRequest(int code, RequestWriter& out) {
  if (code == 53) out.put8(static_cast<uint8_t>(controls.cSpinEdit1));
}

}  // namespace vantor
