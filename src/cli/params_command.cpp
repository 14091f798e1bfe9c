#include "cli/params_command.h"

#include <cstdio>
#include <exception>

namespace vantor {

namespace {
bool queued(const CmdQueue& queue, int code) {
  for (size_t i = 0; i < queue.size(); ++i)
    if (queue.at(i) == code) return true;
  return false;
}
}  // namespace

std::optional<ParamsCommand> ParamsCommand::parse(const std::vector<std::string>& words,
                                                  std::string& error) {
  ParamsCommand c;
  if (words.size() == 1 && words[0] == "show") return c;
  if (words.size() == 2 && (words[0] == "save" || words[0] == "load")) {
    c.action_ = words[0] == "save" ? Action::Save : Action::Load;
    c.path_ = words[1];
    return c;
  }
  error = "params needs show, save FILE or load FILE";
  return std::nullopt;
}

void ParamsCommand::replied(CtlSession& session, int code, ByteView) {
  Device& d = session.device();
  ParTables& tables = d.parTables;
  // A device whose version does not name the model is asked for its tables all the same.
  if (code == 70 && !queued(d.channel.queue(), 62)) tables.GetAllParClick();
  if (code != 62 && code != 63 && code != 64) return;
  if (!tables.tablesLoaded() || tables.busy()) return;
  if (phase_ == Phase::Reading) {
    tablesRead(session);
  } else if (phase_ == Phase::Writing) {
    phase_ = Phase::Done;
    session.finish(kExitOk);
  }
}

void ParamsCommand::tablesRead(CtlSession& session) {
  Device& d = session.device();
  switch (action_) {
    case Action::Show:
      show(d.parTables);
      phase_ = Phase::Done;
      session.finish(kExitOk);
      break;
    case Action::Save:
      phase_ = Phase::Done;
      if (d.parTableFile.SaveFileAllClick(path_))
        session.finish(kExitOk);
      else
        session.fail(kExitFile, d.parTableFile.controls.memo7.back());
      break;
    case Action::Load:
      load(session);
      break;
  }
}

void ParamsCommand::show(const ParTables& tables) const {
  const ParTableStore& s = tables.store();
  for (size_t t = 0; t < s.tableCount(); ++t) {
    const ParTable& table = s.table(t);
    std::printf("%s\n", table.name.c_str());
    for (size_t r = 0; r < table.paramCount; ++r) {
      const ParDescriptor& p = table.params[r];
      std::printf("\t%s\t%u\t%s\t%u\t%u\t%u\n", p.name.c_str(), p.value, p.unit.c_str(), p.min,
                  p.max, p.def);
    }
  }
  std::fflush(stdout);
}

void ParamsCommand::load(CtlSession& session) {
  Device& d = session.device();
  ParTableFileGroup& file = d.parTableFile;
  const size_t before = file.controls.memo7.size();
  const bool accepted = file.ReadFileParClick(path_);
  for (size_t i = before; i < file.controls.memo7.size(); ++i)
    std::printf("%s\n", file.controls.memo7[i].c_str());
  std::fflush(stdout);
  if (!accepted) {
    phase_ = Phase::Done;
    const std::string& why =
        file.controls.memo7.back();  // "Invalid File", or why it cannot be read
    session.fail(kExitFile,
                 (why == "Invalid File" ? path_ + ": " + why : why) + "; nothing written");
    return;
  }
  try {
    file.SaveAllParClick();
  } catch (const std::exception& e) {
    phase_ = Phase::Done;
    session.fail(kExitFile, e.what());
    return;
  }
  phase_ = Phase::Writing;
}

}  // namespace vantor
