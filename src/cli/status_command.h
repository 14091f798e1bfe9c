#pragma once
#include <memory>

#include "cli/ctl_session.h"

namespace CLI {
class App;
}

namespace vantor {

// `status`: waits for the version and the status replies of the connect
// exchange and prints them as the window shows them.
class StatusCommand final : public CtlCommand {
 public:
  // Adds `status` to the command line; when it is given, `chosen` becomes this command.
  static void addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen);

  void replied(CtlSession& session, int code, ByteView frame) override;

 private:
  bool haveVersion_ = false;
};

}  // namespace vantor
