#pragma once
#include <memory>

#include "cli/ctl_session.h"

namespace CLI {
class App;
}

namespace vantor {

// `clock get`: prints the device clock as "HH:MM:SS DD-MM-YYYY".
// `clock set`: sets the device clock to the PC's local time.
class ClockCommand final : public CtlCommand {
 public:
  explicit ClockCommand(bool set) : set_(set) {}

  static void addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen);

  void connected(CtlSession& session) override;
  void replied(CtlSession& session, int code, ByteView frame) override;

 private:
  bool set_;
};

}  // namespace vantor
