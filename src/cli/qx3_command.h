#pragma once
#include <memory>
#include <optional>
#include <string>

#include "cli/ctl_session.h"

namespace CLI {
class App;
}

namespace vantor {

// `qx3 COMMAND [VALUE]`: the weighing module's panel. Without VALUE it queries
// the setting (the three letters and "?"), with VALUE it writes it (the letters
// and the value); then it prints the module's answer.
class Qx3Command final : public CtlCommand {
 public:
  Qx3Command(std::string command, std::optional<std::string> value, int port, int end)
      : command_(std::move(command)), value_(std::move(value)), port_(port), end_(end) {}

  static void addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen);

  void prepare(CtlSession& session) override;
  void connected(CtlSession& session) override;
  void replied(CtlSession& session, int code, ByteView frame) override;

 private:
  std::string command_;
  std::optional<std::string> value_;
  int port_;
  int end_;
  int item_ = -1;
};

}  // namespace vantor
