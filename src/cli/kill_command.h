#pragma once
#include <memory>

#include "cli/ctl_session.h"

namespace CLI {
class App;
}

namespace vantor {

// `kill van|mob|int`: connects to the device's auxiliary command port 46990
// and sends the kill request of the main port (van), port 46000 (mob) or port
// 49000 (int); the main link is not connected.
class KillCommand final : public CtlCommand {
 public:
  explicit KillCommand(int selPort) : selPort_(selPort) {}

  static void addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen);

  bool start(CtlSession& session) override;
  void replied(CtlSession&, int, ByteView) override {}

 private:
  int selPort_;
  static constexpr int kSendMs = 100;

  std::unique_ptr<Subscription<>> connected_;
  std::unique_ptr<Subscription<const std::string&>> failed_;
};

}  // namespace vantor
