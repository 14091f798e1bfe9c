#include "app/snapshot_tables.h"

#include "config/par_file_whole_load.h"
#include "config/split_tab_fields.h"
#include "config/text_lines.h"

namespace vantor {

void TablesSnapshotPart::startRead() {
  // After the version the tables may already be on their way.
  ParTables& tables = device_.parTables;
  if (!tables.busy() && !device_.channel.queue().contains(62)) tables.GetAllParClick();
}

bool TablesSnapshotPart::sweepEnded(int code) const {
  const ParTables& tables = device_.parTables;
  return (code == 62 || code == 63 || code == 64) && tables.tablesLoaded() && !tables.busy();
}

bool TablesSnapshotPart::readComplete(int code) {
  if (!sweepEnded(code)) return false;
  const std::string text =
      parTableFileText(device_.liveStatus.version(), "", device_.parTables.store());
  deviceRead(asBytes(text));
  return true;
}

bool TablesSnapshotPart::saveFile(const std::string& path, std::string& error) {
  ParTableFileGroup& file = device_.parTableFile;
  if (file.SaveFileAllClick(path)) return true;
  error = file.controls.memo7.back();
  return false;
}

bool TablesSnapshotPart::takeFile(const std::string& path, ByteView bytes, std::string& error) {
  const WholeParFileLoad taken = loadParFileWhole(device_.parTableFile, bytes);
  if (!taken.loaded) {
    error = path + ": " + taken.refusal;
    return false;
  }
  fileTaken(bytes);
  return true;
}

// After the identification line: a title line per table, then "\tNAME\tVALUE"
// per parameter; each parameter is named "TABLE NAME".
std::optional<NamedCells> TablesSnapshotPart::fileCells(ByteView bytes, std::string& error) const {
  if (bytes.empty()) {
    error = "not a parameter file: it is empty";
    return std::nullopt;
  }
  const std::vector<std::string_view> lines = splitTextLines(asText(bytes), kAllLines);
  NamedCells cells;
  std::string table;
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::vector<std::string_view> fields = splitTabFields(lines[i]);
    if (fields.size() == 1)
      table = fields[0];
    else if (fields.size() >= 3 && fields[0].empty())
      cells.push_back({table + " " + std::string(fields[1]), cellValue(fields[2])});
  }
  return cells;
}

void TablesSnapshotPart::startWrite() { device_.parTableFile.SaveAllParClick(); }

bool TablesSnapshotPart::writeComplete(int code) { return readComplete(code); }

}  // namespace vantor
