#pragma once
#include <memory>
#include <optional>
#include <string>

#include "cli/ctl_session.h"

namespace CLI {
class App;
}

namespace vantor {

// `integrator [--answer N] [--seconds S]`: stands in for the plant's
// integrator on the device's ports 49000 and 46000, as the "Sim Integrador"
// page does, without the window. Every message received and every message
// sent is printed on stdout, one line each: a timestamp, the port, "<" for
// received or ">" for sent, and the text (control bytes as <HH>, tabs as \t).
// --answer is the answer selector (SelReg): 0 refuses every request. The main
// link is polled meanwhile, so a lost device ends the run. Without --seconds
// it runs until it is interrupted. --label loads a label file before
// connecting, for the device to ask for with its request 82 (messages 543/544).
class IntegratorCommand final : public CtlCommand {
 public:
  IntegratorCommand(int answer, double seconds, std::string label)
      : answer_(answer), seconds_(seconds), label_(std::move(label)) {}

  static void addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen);

  void prepare(CtlSession& session) override;
  void connected(CtlSession& session) override;
  void replied(CtlSession&, int, ByteView) override {}

 private:
  int answer_ = 1;
  double seconds_ = 0;
  std::string label_;  // --label: the label the device may ask for (its request 82)
  std::optional<Signal<const IntegratorTraffic&>::Id> trafficId_;
};

// "<06>" for control bytes, "\t" for tabs, the rest as it is.
std::string printableText(std::string_view text);

}  // namespace vantor
