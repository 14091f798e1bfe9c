#include "app/snapshot_tables.h"

#include "config/par_file_whole_load.h"
#include "link/text_format.h"

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

TablesSnapshotPart::Values TablesSnapshotPart::storeValues() const {
  const ParTableStore& store = device_.parTables.store();
  Values values(store.tableCount());
  for (size_t t = 0; t < store.tableCount(); ++t) {
    const ParTable& table = store.table(t);
    for (size_t r = 0; r < table.paramCount; ++r) values[t].push_back(table.params[r].value);
  }
  return values;
}

bool TablesSnapshotPart::readComplete(int code) {
  if (!sweepEnded(code)) return false;
  deviceValues_ = storeValues();
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
  fileValues_ = storeValues();
  return true;
}

std::vector<std::string> TablesSnapshotPart::differences() const {
  std::vector<std::string> lines;
  const ParTableStore& store = device_.parTables.store();
  for (size_t t = 0; t < store.tableCount() && t < fileValues_.size(); ++t) {
    const ParTable& table = store.table(t);
    for (size_t r = 0; r < fileValues_[t].size(); ++r) {
      const uint32_t device =
          t < deviceValues_.size() && r < deviceValues_[t].size() ? deviceValues_[t][r] : 0;
      if (device == fileValues_[t][r]) continue;
      lines.push_back(format("tables: %s %s: device %u, snapshot %u", table.name.c_str(),
                             table.params[r].name.c_str(), device, fileValues_[t][r]));
    }
  }
  return lines;
}

void TablesSnapshotPart::startWrite() { device_.parTableFile.SaveAllParClick(); }

bool TablesSnapshotPart::writeComplete(int code) { return readComplete(code); }

}  // namespace vantor
