#pragma once
#include <cstdint>
#include <memory>
#include <optional>

#include "cli/ctl_session.h"

namespace CLI {
class App;
}

namespace vantor {

// `ram read ADDR`: prints the word at ADDR as unsigned decimal and 8 hex digits.
// `ram write ADDR VALUE`: writes the word (the device does not confirm it).
// ADDR: decimal or 0x hex, the full 32-bit range; VALUE: signed or unsigned
// decimal, or 0x hex.
class RamCommand final : public CtlCommand {
 public:
  RamCommand(uint32_t address, std::optional<uint32_t> value) : address_(address), value_(value) {}

  static void addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen);

  void connected(CtlSession& session) override;
  void replied(CtlSession& session, int code, ByteView frame) override;

 private:
  uint32_t address_;
  std::optional<uint32_t> value_;  // a write
};

// The CLI11 check of a 32-bit word given as decimal or 0x hex.
std::string checkWord32(std::string& word);

}  // namespace vantor
