#pragma once
#include <optional>
#include <string>
#include <vector>

#include "cli/ctl_session.h"

namespace vantor {

// `params show`: reads every table and prints it.
// `params save FILE`: reads every table and writes the window's "Save File" file.
// `params load FILE`: reads every table, reads FILE with the window's checks
// (its Memo7 lines go to stdout), then writes every table to the device and
// reads them back ("Save All ->Device"). A file that is not accepted exits
// with kExitFile and nothing is written.
class ParamsCommand final : public CtlCommand {
 public:
  static std::optional<ParamsCommand> parse(const std::vector<std::string>& words,
                                            std::string& error);

  void replied(CtlSession& session, int code, ByteView frame) override;

 private:
  enum class Action { Show, Save, Load };
  enum class Phase { Reading, Writing, Done };

  void tablesRead(CtlSession& session);
  void show(const ParTables& tables) const;
  void load(CtlSession& session);

  Action action_ = Action::Show;
  std::string path_;
  Phase phase_ = Phase::Reading;
};

}  // namespace vantor
