#pragma once
#include <memory>
#include <string>
#include <vector>

#include "cli/ctl_session.h"
#include "peripherals/terminal_keys.h"

namespace CLI {
class App;
}

namespace vantor {

// `terminal show`: reads the display terminal's screen and prints its 16 lines.
// `terminal keys KEY...`: presses the display terminal's keys in order, each
// followed by its display read, and prints the last screen; with --qx5 the
// keypad's keys, without read-back.
class TerminalCommand final : public CtlCommand {
 public:
  TerminalCommand(std::vector<std::string> keys, bool qx5)
      : names_(std::move(keys)), pad_(qx5 ? Keypad::Qx5 : Keypad::Qx7) {}

  static void addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen);

  void prepare(CtlSession& session) override;
  void connected(CtlSession& session) override;
  void replied(CtlSession& session, int code, ByteView frame) override;

 private:
  void pressNext(CtlSession& session);
  void printScreen(CtlSession& session);

  std::vector<std::string> names_;
  Keypad pad_;
  std::vector<const TerminalKey*> keys_;
  size_t next_ = 0;  // the next key to press
};

}  // namespace vantor
