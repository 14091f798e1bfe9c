#include "cli/snapshot_command.h"

#include <stdlib.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <set>
#include <system_error>

#include "app/snapshot_parts.h"
#include "config/sha256.h"
#include "link/text_format.h"

namespace vantor {

namespace fs = std::filesystem;

namespace {

// The manifest is small; anything larger is not one.
constexpr FileLimit kManifestLimit{64 * 1024, "a snapshot manifest"};

std::string utcNow() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

std::string inFolder(const std::string& dir, const std::string& name) {
  return (fs::path(dir) / name).string();
}

}  // namespace

SnapshotCommand::SnapshotCommand(Action action, std::string dir, std::vector<std::string> only)
    : action_(action), dir_(std::move(dir)), only_(std::move(only)) {}

SnapshotCommand::~SnapshotCommand() {
  lines_.reset();
  if (workDir_.empty()) return;
  std::error_code ignored;
  fs::remove_all(workDir_, ignored);
}

void SnapshotCommand::addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen) {
  CLI::App* snapshot = app.add_subcommand(
      "snapshot", "The whole device in one folder: parameter tables and configuration blocks.");
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
       "Print every value where the device and the snapshot DIR differ (exit 6 if any)."},
  };
  for (const Sub& s : subs) {
    CLI::App* sub = snapshot->add_subcommand(s.name, s.help);
    auto dir = std::make_shared<std::string>();
    auto only = std::make_shared<std::vector<std::string>>();
    sub->add_option("DIR", *dir, "the snapshot folder")->required();
    if (s.action != Action::Save)
      sub->add_option("--only", *only, "only these parts: tables, blocks (comma-separated)")
          ->delimiter(',')
          ->check(CLI::IsMember({"tables", "blocks"}))
          ->type_name("PARTS");
    sub->callback([&chosen, dir, only, action = s.action] {
      chosen = std::make_unique<SnapshotCommand>(action, *dir, *only);
    });
  }
}

void SnapshotCommand::chooseParts(CtlSession& session) {
  const std::set<std::string> wanted(only_.begin(), only_.end());
  for (auto& part : makeSnapshotParts(session.device()))
    if (wanted.empty() || wanted.count(part->name())) parts_.push_back(std::move(part));
}

void SnapshotCommand::prepare(CtlSession& session) {
  chooseParts(session);
  if (action_ == Action::Save) {
    std::error_code error;
    if (fs::exists(dir_, error) || error) {
      session.fail(kExitFile, dir_ + " exists already; a snapshot is saved into a new folder");
      return;
    }
    // The temporary folder sits beside DIR, so that it becomes DIR by a rename.
    std::string pattern = dir_;
    while (pattern.size() > 1 && pattern.back() == '/') pattern.pop_back();
    pattern += ".partial-XXXXXX";
    if (!mkdtemp(pattern.data())) {
      session.fail(kExitFile, format("Cannot create %s: %s", pattern.c_str(),
                                     std::generic_category().message(errno).c_str()));
      return;
    }
    workDir_ = pattern;
    // mkdtemp makes a private folder; a snapshot is an ordinary one.
    fs::permissions(workDir_,
                    fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                        fs::perms::others_read | fs::perms::others_exec,
                    error);
  } else if (!readSnapshot(session)) {
    return;
  }
  std::vector<SnapshotPart*> parts;
  for (auto& part : parts_) parts.push_back(part.get());
  run_ = std::make_unique<SnapshotRun>(action_ == Action::Save      ? SnapshotRun::Goal::Save
                                       : action_ == Action::Restore ? SnapshotRun::Goal::Restore
                                                                    : SnapshotRun::Goal::Diff,
                                       std::move(parts), workDir_.empty() ? "" : workDir_ + "/");
  run_->setFiles(std::move(files_));
  lines_.emplace(run_->onLine, [](const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
  });
}

// The manifest and every chosen part's file, read whole and checked against
// the manifest's SHA-256 before anything is connected.
bool SnapshotCommand::readSnapshot(CtlSession& session) {
  const std::string manifestPath = inFolder(dir_, kSnapshotManifestName);
  std::string error;
  const std::optional<Bytes> manifestBytes = readFileBytes(manifestPath, kManifestLimit, error);
  std::optional<SnapshotManifest> manifest;
  if (manifestBytes) {
    manifest =
        parseSnapshotManifest(std::string(manifestBytes->begin(), manifestBytes->end()), error);
    if (!manifest) error = manifestPath + ": " + error;
  }
  if (!manifest) {
    session.fail(kExitFile, error + "; nothing written");
    return false;
  }
  for (const auto& part : parts_) {
    const SnapshotFileEntry* entry = manifest->find(part->name());
    if (!entry) {
      session.fail(kExitFile, format("%s: the snapshot holds no %s; nothing written", dir_.c_str(),
                                     part->name().c_str()));
      return false;
    }
    const std::string path = inFolder(dir_, entry->file);
    std::optional<Bytes> bytes = readFileBytes(path, part->fileLimit(), error);
    if (!bytes) {
      session.fail(kExitFile, error + "; nothing written");
      return false;
    }
    if (sha256Hex(*bytes) != entry->sha256) {
      session.fail(kExitFile,
                   path + ": its SHA-256 is not the one in the manifest; nothing written");
      return false;
    }
    files_.push_back(std::move(*bytes));
  }
  return true;
}

void SnapshotCommand::replied(CtlSession& session, int code, ByteView) {
  if (!run_) return;
  if (code == 70)
    run_->start();
  else
    run_->replied(code);
  session.progress(run_->progress());
  if (run_->done()) finished(session);
}

void SnapshotCommand::finished(CtlSession& session) {
  if (run_->failed()) {
    session.fail(kExitFile, run_->error());
    return;
  }
  if (action_ == Action::Diff || action_ == Action::Restore) {
    for (const std::string& line : run_->differences()) std::printf("%s\n", line.c_str());
    std::fflush(stdout);
  }
  if (action_ == Action::Diff) {
    session.finish(run_->differences().empty() ? kExitOk : kExitDifferent);
    return;
  }
  if (action_ == Action::Restore) {
    if (run_->readBackDiffers())
      session.fail(kExitNoReply, "the device holds other values than it was sent");
    else
      session.finish(kExitOk);
    return;
  }
  SnapshotManifest manifest{
      session.device().liveStatus.version(), utcNow(), "vantorctl " VANTOR_VERSION, {}};
  std::string error;
  for (const auto& part : parts_) {
    const std::optional<Bytes> bytes =
        readFileBytes(inFolder(workDir_, part->fileName()), part->fileLimit(), error);
    if (!bytes) return session.fail(kExitFile, error);
    manifest.files.push_back({part->name(), part->fileName(), sha256Hex(*bytes)});
  }
  if (!writeFileText(inFolder(workDir_, kSnapshotManifestName), snapshotManifestText(manifest),
                     error))
    return session.fail(kExitFile, error);
  std::error_code renameError;
  fs::rename(workDir_, dir_, renameError);
  if (renameError)
    return session.fail(kExitFile, format("Cannot rename %s to %s: %s", workDir_.c_str(),
                                          dir_.c_str(), renameError.message().c_str()));
  workDir_.clear();
  session.finish(kExitOk);
}

}  // namespace vantor
