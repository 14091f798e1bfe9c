#pragma once
#include "cli/ctl_session.h"

namespace vantor {

// `status`: waits for the version and the status replies of the connect
// exchange and prints them as the window shows them.
class StatusCommand final : public CtlCommand {
 public:
  void replied(CtlSession& session, int code, ByteView frame) override;

 private:
  bool haveVersion_ = false;
};

}  // namespace vantor
