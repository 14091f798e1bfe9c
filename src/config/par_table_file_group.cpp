#include "config/par_table_file_group.h"

#include "config/file_bytes.h"
#include "config/par_table_file.h"
#include "link/text_format.h"

namespace vantor {

ParTableFileGroup::ParTableFileGroup(Shell& shell, ParTables& tables,
                                     const ConnectionControls& link,
                                     const std::string& identification)
    : shell_(shell), tables_(tables), link_(link), identification_(identification) {}

void ParTableFileGroup::note(std::string line) {
  controls.memo7.push_back(std::move(line));
  shell_.changed(Area::ParTables);
}

bool ParTableFileGroup::SaveFileAllClick(const std::string& path) {
  const std::string text = parTableFileText(identification_, link_.host, tables_.store());
  std::string error;
  if (writeFileText(path, text, error)) return true;
  note(error);
  return false;
}

bool ParTableFileGroup::ReadFileParClick(const std::string& path) {
  ParTableFileReader reader(identification_, tables_.store());
  std::string error;
  const bool read = readFileChunks(
      path,
      [&](ByteView chunk) {
        reader.feed(asText(chunk));
        return !reader.stopped();
      },
      error, kParTableFileLimit);
  return readDone(reader, read ? nullptr : &error);
}

bool ParTableFileGroup::ReadFileParBytes(ByteView bytes) {
  ParTableFileReader reader(identification_, tables_.store());
  reader.feed(asText(bytes));
  return readDone(reader, nullptr);
}

bool ParTableFileGroup::readDone(ParTableFileReader& reader, const std::string* readError) {
  if (!readError) reader.finish();
  for (const std::string& m : reader.messages()) controls.memo7.push_back(m);
  if (reader.messagesNotKept() > 0)
    controls.memo7.push_back(format("... and %zu more", reader.messagesNotKept()));
  if (readError) controls.memo7.push_back(*readError);
  const bool accepted = !readError && reader.accepted();
  controls.saveAllParEnabled = accepted;
  if (accepted) tables_.showTable(tables_.controls.listTabsIndex);
  shell_.changed(Area::ParTables);
  return accepted;
}

void ParTableFileGroup::SaveAllParClick() {
  if (!tables_.tablesLoaded() || !controls.saveAllParEnabled) return;
  if (tables_.checkAndStore()) tables_.startSaveAllSweep();
}

}  // namespace vantor
