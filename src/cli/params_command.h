#pragma once
#include <memory>
#include <string>

#include "cli/ctl_session.h"

namespace CLI {
class App;
}

namespace vantor {

// `params show [--json]`: reads every table and prints it (as text or JSON).
// `params save FILE`: reads every table and writes the window's "Save File" file.
// `params load FILE`: reads FILE whole before connecting (a file that cannot
// be read or is empty exits with kExitFile), reads every table, checks the
// file's bytes with the window's "Read File" checks (its Memo7 lines go to
// stdout), then writes every table to the device and reads them back ("Save
// All ->Device"). A file that is not accepted, or has any line that would
// not load (a name not found, a value not a number or out of range), exits
// with kExitFile and nothing is written.
// All three show the tables' progress text while they read or write.
class ParamsCommand final : public CtlCommand {
 public:
  enum class Action { Show, ShowJson, Save, Load };

  ParamsCommand(Action action, std::string path) : action_(action), path_(std::move(path)) {}

  // Adds `params show|save FILE|load FILE` to the command line; when it is
  // given, `chosen` becomes this command.
  static void addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen);

  void prepare(CtlSession& session) override;
  void replied(CtlSession& session, int code, ByteView frame) override;
  void changed(CtlSession& session, Area area) override;

 private:
  enum class Phase { Reading, Writing, Done };

  void tablesRead(CtlSession& session);
  void show(const ParTables& tables) const;
  void load(CtlSession& session);

  Action action_ = Action::Show;
  std::string path_;
  Bytes file_;  // load: the file as read before connecting
  Phase phase_ = Phase::Reading;
};

}  // namespace vantor
