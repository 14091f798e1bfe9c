#include "app/snapshot_manifest.h"

#include <nlohmann/json.hpp>

#include "app/json_text.h"

namespace vantor {

namespace {
using Json = nlohmann::ordered_json;

bool plainName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("/\\") == std::string::npos;
}
}  // namespace

const SnapshotFileEntry* SnapshotManifest::find(const std::string& part) const {
  for (const SnapshotFileEntry& e : files)
    if (e.part == part) return &e;
  return nullptr;
}

std::string snapshotManifestText(const SnapshotManifest& manifest) {
  Json files = Json::array();
  for (const SnapshotFileEntry& e : manifest.files)
    files.push_back({{"part", e.part}, {"file", e.file}, {"sha256", e.sha256}});
  const Json document = {{"device", manifest.device},
                         {"date", manifest.date},
                         {"tool", manifest.tool},
                         {"files", std::move(files)}};
  std::string text;
  for (char c : jsonText(document) + "\n") {
    if (c == '\n') text += '\r';
    text += c;
  }
  return text;
}

std::optional<SnapshotManifest> parseSnapshotManifest(const std::string& text, std::string& error) {
  try {
    const Json document = Json::parse(text);
    SnapshotManifest m;
    m.device = document.at("device").get<std::string>();
    m.date = document.at("date").get<std::string>();
    m.tool = document.at("tool").get<std::string>();
    for (const Json& f : document.at("files")) {
      SnapshotFileEntry e{f.at("part").get<std::string>(), f.at("file").get<std::string>(),
                          f.at("sha256").get<std::string>()};
      if (!plainName(e.file)) {
        error = "the file of part " + e.part + " is not a plain name: " + e.file;
        return std::nullopt;
      }
      m.files.push_back(std::move(e));
    }
    return m;
  } catch (const nlohmann::json::exception& e) {
    error = std::string("not a snapshot manifest: ") + e.what();
    return std::nullopt;
  }
}

}  // namespace vantor
