#pragma once
#include <memory>

#include "cli/ctl_session.h"

namespace CLI {
class App;
}

namespace vantor {

// `status`: waits for the version and the status replies of the connect
// exchange and prints them as the window shows them, as "NAME: value" lines
// or, with --json, as one JSON object of the same names.
class StatusCommand final : public CtlCommand {
 public:
  explicit StatusCommand(bool json) : json_(json) {}

  // Adds `status` to the command line; when it is given, `chosen` becomes this command.
  static void addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen);

  void replied(CtlSession& session, int code, ByteView frame) override;

 private:
  bool json_ = false;
  bool haveVersion_ = false;
};

}  // namespace vantor
