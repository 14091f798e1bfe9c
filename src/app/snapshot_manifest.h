#pragma once
// snapshot.json, the manifest of a device snapshot folder: what device it
// was taken from, when, by which tool, and each part's file with its SHA-256.
#include <optional>
#include <string>
#include <vector>

namespace vantor {

struct SnapshotFileEntry {
  std::string part;  // "tables"
  std::string file;  // "tables.txt", a plain name within the folder
  std::string sha256;
};

struct SnapshotManifest {
  std::string device;  // the device's version text
  std::string date;    // UTC, "2026-12-10T17:30:00Z"
  std::string tool;    // "vantorctl 8.10"
  std::vector<SnapshotFileEntry> files;

  const SnapshotFileEntry* find(const std::string& part) const;
};

inline constexpr const char* kSnapshotManifestName = "snapshot.json";

// The manifest as written, lines ending in CR LF.
std::string snapshotManifestText(const SnapshotManifest& manifest);
// The manifest of a file's text; nothing, with the reason, when it is not one
// (not JSON, a field missing or of the wrong kind, a file name with a path).
std::optional<SnapshotManifest> parseSnapshotManifest(const std::string& text, std::string& error);

}  // namespace vantor
