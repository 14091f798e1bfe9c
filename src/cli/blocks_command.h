#pragma once
#include <memory>
#include <string>

#include "cli/ctl_session.h"

namespace CLI {
class App;
}

namespace vantor {

// `blocks backup FILE`: reads the six configuration blocks and writes them to
// the window's block backup file.
// `blocks restore FILE`: loads the backup before connecting (exactly 340
// bytes, else kExitFile and nothing is connected or sent) and writes the six
// blocks ("SetAllPar").
class BlocksCommand final : public CtlCommand {
 public:
  BlocksCommand(bool backup, std::string path) : backup_(backup), path_(std::move(path)) {}

  // Adds `blocks backup FILE|restore FILE` to the command line; when it is
  // given, `chosen` becomes this command.
  static void addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen);

  void prepare(CtlSession& session) override;
  void connected(CtlSession& session) override;
  void replied(CtlSession& session, int code, ByteView frame) override;

 private:
  bool backup_ = true;
  std::string path_;
  size_t answered_ = 0;  // blocks read or written so far
};

}  // namespace vantor
