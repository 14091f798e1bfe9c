#include "app/snapshot_folder.h"

#include <stdlib.h>

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "config/file_bytes.h"
#include "config/sha256.h"
#include "link/text_format.h"

namespace vantor {

namespace fs = std::filesystem;

namespace {
// The manifest is small; anything larger is not one.
constexpr FileLimit kManifestLimit{64 * 1024, "a snapshot manifest"};

std::string inFolder(const std::string& dir, const std::string& name) {
  return (fs::path(dir) / name).string();
}
}  // namespace

std::string snapshotDateNow() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

SnapshotSave::~SnapshotSave() {
  if (workDir_.empty()) return;
  std::error_code ignored;
  fs::remove_all(workDir_, ignored);
}

bool SnapshotSave::begin(const std::string& dir, std::string& error) {
  std::error_code fsError;
  if (fs::exists(dir, fsError) || fsError) {
    error = dir + " exists already; a snapshot is saved into a new folder";
    return false;
  }
  // The temporary folder sits beside dir, so that it becomes dir by a rename.
  std::string pattern = dir;
  while (pattern.size() > 1 && pattern.back() == '/') pattern.pop_back();
  pattern += ".partial-XXXXXX";
  if (!mkdtemp(pattern.data())) {
    error = format("Cannot create %s: %s", pattern.c_str(),
                   std::generic_category().message(errno).c_str());
    return false;
  }
  dir_ = dir;
  workDir_ = pattern;
  // mkdtemp makes a private folder; a snapshot is an ordinary one.
  fs::permissions(workDir_,
                  fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                      fs::perms::others_read | fs::perms::others_exec,
                  fsError);
  return true;
}

bool SnapshotSave::finish(const std::vector<SnapshotPart*>& parts, const std::string& deviceVersion,
                          const std::string& tool, std::string& error) {
  if (workDir_.empty()) {
    error = "the snapshot folder was not created";
    return false;
  }
  SnapshotManifest manifest{deviceVersion, snapshotDateNow(), tool, {}};
  for (const SnapshotPart* part : parts) {
    const std::optional<Bytes> bytes =
        readFileBytes(inFolder(workDir_, part->fileName()), part->fileLimit(), error);
    if (!bytes) return false;
    manifest.files.push_back({part->name(), part->fileName(), sha256Hex(*bytes)});
  }
  if (!writeFileText(inFolder(workDir_, kSnapshotManifestName), snapshotManifestText(manifest),
                     error))
    return false;
  std::error_code renameError;
  fs::rename(workDir_, dir_, renameError);
  if (renameError) {
    error = format("Cannot rename %s to %s: %s", workDir_.c_str(), dir_.c_str(),
                   renameError.message().c_str());
    return false;
  }
  workDir_.clear();
  return true;
}

std::optional<SnapshotFiles> readSnapshotFiles(const std::string& dir,
                                               const std::vector<SnapshotPart*>& parts,
                                               std::string& error) {
  const std::string manifestPath = inFolder(dir, kSnapshotManifestName);
  const std::optional<Bytes> manifestBytes = readFileBytes(manifestPath, kManifestLimit, error);
  if (!manifestBytes) return std::nullopt;
  std::optional<SnapshotManifest> manifest =
      parseSnapshotManifest(std::string(manifestBytes->begin(), manifestBytes->end()), error);
  if (!manifest) {
    error = manifestPath + ": " + error;
    return std::nullopt;
  }
  SnapshotFiles snapshot{std::move(*manifest), {}};
  for (const SnapshotPart* part : parts) {
    const SnapshotFileEntry* entry = snapshot.manifest.find(part->name());
    if (!entry) {
      error = format("%s: the snapshot holds no %s", dir.c_str(), part->name().c_str());
      return std::nullopt;
    }
    const std::string path = inFolder(dir, entry->file);
    std::optional<Bytes> bytes = readFileBytes(path, part->fileLimit(), error);
    if (!bytes) return std::nullopt;
    if (sha256Hex(*bytes) != entry->sha256) {
      error = path + ": its SHA-256 is not the one in the manifest";
      return std::nullopt;
    }
    snapshot.files.push_back(std::move(*bytes));
  }
  return snapshot;
}

}  // namespace vantor
