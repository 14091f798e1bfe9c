#pragma once
#include <memory>
#include <optional>
#include <string>

#include "cli/ctl_session.h"

namespace CLI {
class App;
}

namespace vantor {

// `log [FILE]`: downloads the device's event log (501 blocks) and writes its
// decoded text to FILE, by default the window's log file in the data
// directory; shows "block N of 501" as progress; prints the path and the
// event count.
class LogCommand final : public CtlCommand {
 public:
  explicit LogCommand(std::optional<std::string> path) : path_(std::move(path)) {}

  static void addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen);

  void connected(CtlSession& session) override;
  void replied(CtlSession& session, int code, ByteView frame) override;
  void changed(CtlSession& session, Area area) override;

 private:
  std::optional<std::string> path_;
  std::unique_ptr<Subscription<bool>> done_;
};

}  // namespace vantor
