#pragma once
// The weighing module's counters (command 34, button GetPesoOn on the
// "SystemBin" page): six unsigned 16-bit words shown in Edit5 as
// "R%d Ow%d Id%d St%d IdCk%d IdO%d", in payload order.
#include <string>

#include "link/command_channel.h"
#include "link/command_feature.h"
#include "link/shell.h"

namespace vantor {

struct PesoCountersControls {
  std::string edit5;
};

class PesoCounters final : public CommandFeature {
 public:
  PesoCounters(Shell& shell, CommandChannel& channel) : shell_(shell), channel_(channel) {}

  PesoCountersControls controls;

  void GetPesoOnClick() { channel_.queueCmd(34); }
  void handleReply(int code, PayloadReader& payload) override;

 private:
  Shell& shell_;
  CommandChannel& channel_;
};

}  // namespace vantor
