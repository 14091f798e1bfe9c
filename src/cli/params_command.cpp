#include "cli/params_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <exception>
#include <regex>

#include "config/file_bytes.h"
#include "config/par_table_file.h"
#include "link/text_format.h"

namespace vantor {

namespace {
// A message of the file reader that names a line of the file it did not load:
// a title or parameter not found at its place, a value that is not a number or
// lies outside its parameter's limits.
bool notLoaded(const std::string& message) {
  static const std::regex kNotLoaded("[0-9]+ (not found|not a number|out of range)->> .*");
  return std::regex_match(message, kNotLoaded);
}

// The reader keeps the first messages of a file and counts the others in a
// last line "... and N more".
bool moreNotKept(const std::string& message) { return message.starts_with("... and "); }
}  // namespace

void ParamsCommand::addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen) {
  CLI::App* params = app.add_subcommand("params", "The device's parameter tables.");
  params->require_subcommand(1);
  params
      ->add_subcommand("show",
                       "Print every parameter table: its name, then per parameter name, value, "
                       "unit, min, max, default (tab-separated).")
      ->callback([&chosen] { chosen = std::make_unique<ParamsCommand>(Action::Show, ""); });
  struct FileAction {
    const char* name;
    Action action;
    const char* help;
  };
  const FileAction fileActions[] = {
      {"save", Action::Save, "Write the parameter tables to FILE as the window's \"Save File\"."},
      {"load", Action::Load,
       "Read FILE with the window's checks, print its messages, write every table to the device "
       "and read them back. A file that cannot be read or is refused writes nothing."},
  };
  for (const FileAction& f : fileActions) {
    CLI::App* sub = params->add_subcommand(f.name, f.help);
    auto path = std::make_shared<std::string>();
    sub->add_option("FILE", *path, "the parameter table file")->required();
    sub->callback([&chosen, path, action = f.action] {
      chosen = std::make_unique<ParamsCommand>(action, *path);
    });
  }
}

void ParamsCommand::prepare(CtlSession& session) {
  if (action_ != Action::Load) return;
  std::string error;
  std::optional<Bytes> bytes = readFileBytes(path_, kParTableFileLimit, error);
  if (bytes) file_ = std::move(*bytes);
  if (!bytes)
    session.fail(kExitFile, error + "; nothing written");
  else if (file_.empty())
    session.fail(kExitFile, path_ + ": the file is empty; nothing written");
}

void ParamsCommand::replied(CtlSession& session, int code, ByteView) {
  Device& d = session.device();
  ParTables& tables = d.parTables;
  // A device whose version does not name the model is asked for its tables all the same.
  if (code == 70 && !d.channel.queue().contains(62)) tables.GetAllParClick();
  if (code != 62 && code != 63 && code != 64) return;
  if (!tables.tablesLoaded() || tables.busy()) return;
  if (phase_ == Phase::Reading) {
    tablesRead(session);
  } else if (phase_ == Phase::Writing) {
    phase_ = Phase::Done;
    session.finish(kExitOk);
  }
}

void ParamsCommand::changed(CtlSession& session, Area area) {
  if (area == Area::ParTables) session.progress(session.device().parTables.controls.progress);
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
  const bool accepted = file.ReadFileParBytes(file_);
  for (size_t i = before; i < file.controls.memo7.size(); ++i)
    std::printf("%s\n", file.controls.memo7[i].c_str());
  std::fflush(stdout);
  if (!accepted) {
    phase_ = Phase::Done;
    // A file that is refused says why as its last line ("Invalid File").
    const std::string why =
        file.controls.memo7.size() > before ? file.controls.memo7.back() : "Invalid File";
    session.fail(kExitFile, path_ + ": " + why + "; nothing written");
    return;
  }
  // The window loads what it can of a file; a script gets all of it or none,
  // so a file with any line that would not load writes nothing.
  size_t refused = 0;
  bool more = false;
  const std::string* first = nullptr;
  for (size_t i = before; i < file.controls.memo7.size(); ++i) {
    const std::string& line = file.controls.memo7[i];
    more = more || moreNotKept(line);
    if (!notLoaded(line)) continue;
    ++refused;
    if (!first) first = &line;
  }
  if (refused > 0) {
    phase_ = Phase::Done;
    session.fail(
        kExitFile,
        format("%s: %zu%s line%s would not load, the first: %s; nothing written", path_.c_str(),
               refused, more ? " or more" : "", refused == 1 && !more ? "" : "s", first->c_str()));
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
