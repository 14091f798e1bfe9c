#include "cli/snapshot_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "app/snapshot_parts.h"
#include "cli/json_output.h"
#include "link/text_format.h"

namespace vantor {

namespace {
std::string partList() {
  std::string list;
  for (const std::string& name : snapshotPartNames()) list += (list.empty() ? "" : ", ") + name;
  return list;
}
}  // namespace

SnapshotCommand::SnapshotCommand(Action action, Options options)
    : action_(action), options_(std::move(options)) {}

void SnapshotCommand::addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen) {
  CLI::App* snapshot =
      app.add_subcommand("snapshot", "The whole device in one folder: " + partList() + ".");
  snapshot->require_subcommand(1);
  struct Sub {
    const char* name;
    Action action;
    const char* help;
  };
  const Sub subs[] = {
      {"save", Action::Save,
       "Read every part of the device into DIR (a new folder) with the manifest snapshot.json."},
      {"restore", Action::Restore,
       "Check every file of the snapshot DIR, then write each part to the device, read it back "
       "and compare. Any refused file writes nothing."},
      {"diff", Action::Diff,
       "Print every value where the device, or the snapshot DIR2, and the snapshot DIR differ "
       "(exit 6 if any)."},
  };
  for (const Sub& s : subs) {
    CLI::App* sub = snapshot->add_subcommand(s.name, s.help);
    auto options = std::make_shared<Options>();
    sub->add_option("DIR", options->dir, "the snapshot folder")->required();
    if (s.action == Action::Save)
      sub->add_flag("--with-passwords", options->withPasswords,
                    "keep the user accounts' passwords in the snapshot (without, a restore "
                    "leaves the device's passwords as they are)");
    if (s.action == Action::Diff) {
      sub->add_option("DIR2", options->secondDir,
                      "a second snapshot folder, compared in place of the device");
      sub->add_flag("--json", options->json, "print one JSON document");
    }
    if (s.action != Action::Save)
      sub->add_option("--only", options->only,
                      "only these parts: " + partList() + " (comma-separated)")
          ->delimiter(',')
          ->check(CLI::IsMember(snapshotPartNames()))
          ->type_name("PARTS");
    sub->callback([&chosen, options, action = s.action] {
      chosen = std::make_unique<SnapshotCommand>(action, *options);
    });
  }
}

void SnapshotCommand::prepare(CtlSession& session) {
  const SnapshotRun::Goal goal = action_ == Action::Save      ? SnapshotRun::Goal::Save
                                 : action_ == Action::Restore ? SnapshotRun::Goal::Restore
                                                              : SnapshotRun::Goal::Diff;
  job_ = std::make_unique<SnapshotJob>(
      session.device(), goal,
      SnapshotJob::Options{options_.dir, options_.only, options_.withPasswords,
                           "vantorctl " VANTOR_VERSION});
  std::string error;
  if (!job_->prepare(error)) return session.fail(kExitFile, error);
  if (!options_.secondDir.empty()) return compareSnapshots(session);
  lines_.emplace(job_->run().onLine, [](const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
  });
}

// Two snapshots compared file by file; the device is not connected.
void SnapshotCommand::compareSnapshots(CtlSession& session) {
  std::string error;
  const std::vector<SnapshotPart*>& parts = job_->parts();
  const std::optional<SnapshotFiles> second = readSnapshotFiles(options_.secondDir, parts, error);
  if (!second) return session.fail(kExitFile, error);
  std::vector<CellDifference> differences;
  for (size_t i = 0; i < parts.size(); ++i) {
    const SnapshotPart& part = *parts[i];
    const std::optional<NamedCells> first = part.fileCells(job_->run().files()[i], error);
    if (!first) return session.fail(kExitFile, options_.dir + ": " + error);
    const std::optional<NamedCells> other = part.fileCells(second->files[i], error);
    if (!other) return session.fail(kExitFile, options_.secondDir + ": " + error);
    for (CellDifference& d : cellDifferences(part.name(), *first, *other))
      differences.push_back(std::move(d));
  }
  printDifferences(differences, {options_.dir, options_.secondDir});
  session.finish(differences.empty() ? kExitOk : kExitDifferent);
}

void SnapshotCommand::printDifferences(const std::vector<CellDifference>& differences,
                                       const DiffSides& sides) const {
  if (!options_.json) {
    for (const CellDifference& d : differences) std::printf("%s\n", d.text(sides).c_str());
    std::fflush(stdout);
    return;
  }
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const CellDifference& d : differences)
    list.push_back({{"part", d.part}, {"name", d.name}, {"first", d.first}, {"second", d.second}});
  printJson({{"first", sides.first},
             {"second", sides.second},
             {"equal", differences.empty()},
             {"differences", std::move(list)}});
}

void SnapshotCommand::replied(CtlSession& session, int code, ByteView) {
  if (!job_) return;
  if (code == 70)
    job_->start();
  else
    job_->replied(code);
  session.progress(job_->run().progress());
  if (job_->done()) finished(session);
}

void SnapshotCommand::finished(CtlSession& session) {
  if (job_->failed()) return session.fail(kExitFile, job_->error());
  const SnapshotRun& run = job_->run();
  switch (action_) {
    case Action::Diff:
      printDifferences(run.differences(), DiffSides{});
      return session.finish(run.differences().empty() ? kExitOk : kExitDifferent);
    case Action::Restore:
      printDifferences(run.differences(), DiffSides{});
      if (run.readBackDiffers())
        return session.fail(kExitNoReply, "the device holds other values than it was sent");
      return session.finish(kExitOk);
    case Action::Save:
      return session.finish(kExitOk);
  }
}

}  // namespace vantor
