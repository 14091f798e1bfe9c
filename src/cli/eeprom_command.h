#pragma once
#include <cstdint>
#include <memory>

#include "cli/ctl_session.h"

namespace CLI {
class App;
}

namespace vantor {

// `eeprom read ADDR LEN`: prints the device's status byte, then the LEN
// (1..128) bytes in hex, 16 a line.
// `eeprom write ADDR HEX...`: writes 1..128 bytes, prints the status byte.
// A status other than 0 ends with kExitRefused.
class EepromCommand final : public CtlCommand {
 public:
  EepromCommand(uint32_t address, int length, Bytes data)
      : address_(address), length_(length), data_(std::move(data)) {}

  static void addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen);

  void connected(CtlSession& session) override;
  void replied(CtlSession& session, int code, ByteView frame) override;

 private:
  uint32_t address_;
  int length_;
  Bytes data_;  // a write
};

}  // namespace vantor
