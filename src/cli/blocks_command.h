#pragma once
#include <optional>
#include <string>
#include <vector>

#include "cli/ctl_session.h"

namespace vantor {

// `blocks backup FILE`: reads the six configuration blocks and writes them to
// the window's block backup file.
// `blocks restore FILE`: loads the backup (exactly 340 bytes, else kExitFile
// and nothing is sent) and writes the six blocks ("SetAllPar").
class BlocksCommand final : public CtlCommand {
 public:
  static std::optional<BlocksCommand> parse(const std::vector<std::string>& words,
                                            std::string& error);

  void connected(CtlSession& session) override;
  void replied(CtlSession& session, int code, ByteView frame) override;

 private:
  bool backup_ = true;
  std::string path_;
  size_t answered_ = 0;  // blocks read or written so far
};

}  // namespace vantor
