#pragma once
#include <memory>

#include "cli/ctl_session.h"

namespace CLI {
class App;
}

namespace vantor {

// `raw CODE [HEX...]`: one request with the given parameter bytes through the
// command queue; prints the reply frame in hex.
class RawCommand final : public CtlCommand {
 public:
  RawCommand(int code, Bytes params) : code_(code), params_(std::move(params)) {}

  // Adds `raw` to the command line; when it is given, `chosen` becomes this command.
  static void addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen);

  void connected(CtlSession& session) override;
  void replied(CtlSession& session, int code, ByteView frame) override;

 private:
  int code_ = 0;
  Bytes params_;
  bool sent_ = false;
};

}  // namespace vantor
