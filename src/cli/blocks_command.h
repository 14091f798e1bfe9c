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
// `blocks restore [--force] FILE`: loads the backup before connecting (exactly
// 340 bytes, and without --force not zeros only, else kExitFile and nothing is
// connected or sent) and writes the six blocks ("SetAllPar").
// Both show which block they are at as progress.
class BlocksCommand final : public CtlCommand {
 public:
  BlocksCommand(bool backup, std::string path, bool force)
      : backup_(backup), path_(std::move(path)), force_(force) {}

  // Adds `blocks backup FILE|restore FILE` to the command line; when it is
  // given, `chosen` becomes this command.
  static void addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen);

  void prepare(CtlSession& session) override;
  void connected(CtlSession& session) override;
  void replied(CtlSession& session, int code, ByteView frame) override;

 private:
  void showProgress(CtlSession& session) const;

  bool backup_ = true;
  std::string path_;
  bool force_ = false;   // restore: a file of zeros only is written as well
  size_t answered_ = 0;  // blocks read or written so far
};

}  // namespace vantor
