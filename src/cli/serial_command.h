#pragma once
#include <memory>
#include <string>

#include "cli/ctl_session.h"

namespace CLI {
class App;
}

namespace vantor {

// `serial send PORT TEXT [--end N]`: the device sends TEXT and the end
// character out of serial port PORT. `serial read PORT`: prints the port's
// receive buffer as the Comm group's memo shows it (the text, an empty line,
// 16 hex lines).
class SerialCommand final : public CtlCommand {
 public:
  SerialCommand(bool send, int port, std::string text, int end)
      : send_(send), port_(port), text_(std::move(text)), end_(end) {}

  static void addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen);

  void prepare(CtlSession& session) override;
  void connected(CtlSession& session) override;
  void replied(CtlSession& session, int code, ByteView frame) override;

 private:
  bool send_;
  int port_;
  std::string text_;
  int end_;
};

}  // namespace vantor
