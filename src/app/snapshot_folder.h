#pragma once
// A snapshot folder on disk. Saving goes through a temporary folder beside
// the target that is renamed to it once every file and the manifest are in;
// an unfinished save leaves nothing behind. Reading takes the manifest and
// the files of the parts asked for, each checked against the manifest's
// SHA-256, so that a changed or damaged file is refused before it is used.
#include <optional>
#include <string>
#include <vector>

#include "app/snapshot_manifest.h"
#include "app/snapshot_part.h"
#include "link/bytes.h"

namespace vantor {

class SnapshotSave {
 public:
  SnapshotSave() = default;
  SnapshotSave(const SnapshotSave&) = delete;
  SnapshotSave& operator=(const SnapshotSave&) = delete;
  // Removes the temporary folder unless the save was finished.
  ~SnapshotSave();

  // Creates the temporary folder for dir; false with the reason when dir
  // exists already or the folder cannot be made.
  bool begin(const std::string& dir, std::string& error);
  // The temporary folder the parts save into, ending in a slash.
  std::string workFolder() const { return workDir_.empty() ? "" : workDir_ + "/"; }
  // Writes the manifest of the parts' files and renames the folder to dir.
  bool finish(const std::vector<SnapshotPart*>& parts, const std::string& deviceVersion,
              const std::string& tool, std::string& error);

 private:
  std::string dir_;
  std::string workDir_;
};

struct SnapshotFiles {
  SnapshotManifest manifest;
  std::vector<Bytes> files;  // in the order of the parts
};

// The manifest of dir and the file of each part, checked; nothing, with the
// reason, when one is missing, too large, unreadable or not as the manifest says.
std::optional<SnapshotFiles> readSnapshotFiles(const std::string& dir,
                                               const std::vector<SnapshotPart*>& parts,
                                               std::string& error);

// The current time in UTC as the manifest keeps it: "2026-12-10T17:30:00Z".
std::string snapshotDateNow();

}  // namespace vantor
