#include "config/par_tables.h"

#include <algorithm>

#include "access/access_control.h"
#include "config/cell_value.h"
#include "link/text_format.h"

namespace vantor {

ParTables::ParTables(Shell& shell, CommandChannel& channel, bool& tablesLoaded)
    : shell_(shell), channel_(channel), tablesLoaded_(tablesLoaded) {}

// ---- requests and replies

void ParTables::buildRequest(int code, RequestWriter& out) {
  if (code == 64) {
    out.put8(readTable_);
    out.put8(readRow_);
  } else if (code == 63) {
    store_.writeTableValues(writeTable_, out);
  }
}

void ParTables::handleReply(int code, PayloadReader& payload) {
  switch (code) {
    case 62:
      tableListReply(payload);
      break;
    case 63:
      tableWritten();
      break;
    case 64:
      descriptorReply(payload);
      break;
    default:
      break;
  }
}

void ParTables::requestTableList() {
  listAwaited_ = true;
  controls.progress = "Reading the table list";
  channel_.queueCmd(62);
  changed();
}

void ParTables::requestDescriptor() {
  reading_ = true;
  const size_t count = store_.table(readTable_).paramCount;
  controls.progress = count == 0
                          ? format("Reading table %d of %zu", readTable_ + 1, store_.tableCount())
                          : format("Reading table %d of %zu, parameter %d of %zu", readTable_ + 1,
                                   store_.tableCount(), readRow_ + 1, count);
  channel_.queueCmd(64);
}

void ParTables::tableListReply(PayloadReader& payload) {
  listAwaited_ = false;
  controls.current = true;
  if (controls.message == kNotCurrent) controls.message.clear();
  store_.storeTableList(payload);
  if (onAccessCodes) onAccessCodes(store_.accessCodes());
  controls.listTabs.clear();
  for (size_t t = 0; t < store_.tableCount(); ++t)
    controls.listTabs.push_back(store_.table(t).name);
  controls.listTabsIndex = -1;
  tablesLoaded_ = true;
  controls.panelSaveVisible = true;
  controls.groupFileVisible = true;
  readTable_ = 0;
  readRow_ = 0;
  readAllMode_ = true;
  requestDescriptor();
  changed();
}

// Every table costs at least one request: row 0 is asked for before the row
// is compared with the table's parameter count.
void ParTables::descriptorReply(PayloadReader& payload) {
  store_.storeDescriptor(readTable_, readRow_, payload);
  ++readRow_;
  if (readRow_ < store_.table(readTable_).paramCount) {
    requestDescriptor();
  } else {
    readRow_ = 0;
    if (readAllMode_) {
      ++readTable_;
      if (readTable_ < store_.tableCount()) {
        requestDescriptor();
      } else {
        readTable_ = 0;
        readAllMode_ = false;
        reading_ = false;
        controls.progress.clear();
        controls.listTabsIndex = controls.listTabs.empty() ? -1 : 0;
        showTable(0);
      }
    } else {
      reading_ = false;
      controls.progress.clear();
      showTable(controls.listTabsIndex);
    }
  }
  changed();
}

void ParTables::tableWritten() {
  const ParTable& written = store_.table(writeTable_);
  if (!saveAllMode_) {
    controls.message =
        format("Table %s written: %d values", written.name.c_str(), written.paramCount);
    changed();
    return;
  }
  ++writeTable_;
  if (writeTable_ < store_.tableCount()) {
    controls.progress = format("Writing table %d of %zu", writeTable_ + 1, store_.tableCount());
    channel_.queueCmd(63);
    changed();
  } else {
    saveAllMode_ = false;
    controls.message = format("%zu tables written", store_.tableCount());
    requestTableList();
  }
}

// A request of a sweep ended without its reply: the sweep stops where it is
// and says so, instead of waiting for ever.
void ParTables::requestEnded(int code, RequestEnd end) {
  const char* why = requestEndText(end);
  if (code == 64) {
    controls.progress = format("Reading table %d of %zu stopped: %s to parameter %d",
                               readTable_ + 1, store_.tableCount(), why, readRow_ + 1);
  } else if (code == 63) {
    controls.progress =
        format("Writing table %d of %zu stopped: %s", writeTable_ + 1, store_.tableCount(), why);
  } else if (code == 62) {
    controls.progress = format("Reading the table list stopped: %s", why);
  } else {
    return;
  }
  readAllMode_ = saveAllMode_ = reading_ = listAwaited_ = false;
  changed();
}

// ---- user actions

// A read asked for while the main link is down cannot start: nothing would
// answer it, and its progress text would stand until the next connection.
bool ParTables::refusedWhileDisconnected() {
  if (channel_.linkUp()) return false;
  readAllMode_ = reading_ = listAwaited_ = false;
  controls.progress = "not connected";
  changed();
  return true;
}

void ParTables::GetAllParClick() {
  if (refusedWhileDisconnected()) return;
  requestTableList();
}

void ParTables::GetTabClick() {
  const int t = controls.listTabsIndex;
  if (t < 0 || static_cast<size_t>(t) >= store_.tableCount()) return;
  if (refusedWhileDisconnected()) return;
  readTable_ = static_cast<uint8_t>(t);
  readRow_ = 0;
  readAllMode_ = false;
  requestDescriptor();
  changed();
}

void ParTables::ListTabsChange(int index) {
  controls.listTabsIndex = index;
  showTable(index);
}

void ParTables::GridParTabsSelectCell(int row) {
  controls.gridRow = row;
  if (!tablesLoaded_) return;
  showHelpAndRange(row);
  changed();
}

void ParTables::showTable(int t) {
  if (t < 0 || static_cast<size_t>(t) >= ParTableStore::kMaxTables || !tablesLoaded_) return;
  shownTable_ = t;
  const ParTable& table = store_.table(static_cast<size_t>(t));
  controls.gridParTabs.resize(table.paramCount);
  for (size_t r = 0; r < table.paramCount; ++r)
    controls.gridParTabs[r] = ParGridRow{table.params[r].name, cellText(table.params[r].value)};
  controls.gridHint = static_cast<size_t>(t) < controls.listTabs.size()
                          ? controls.listTabs[static_cast<size_t>(t)]
                          : "";
  controls.labelTabSgn = std::string(accessLevelName(static_cast<uint8_t>(table.level + 1u)));
  refreshSaveButtons();
  controls.gridRow =
      std::clamp(controls.gridRow, 0, std::max(0, static_cast<int>(table.paramCount) - 1));
  showHelpAndRange(controls.gridRow);
  changed();
}

void ParTables::showHelpAndRange(int row) {
  const ParTable* table =
      shownTable_ >= 0 ? &store_.table(static_cast<size_t>(shownTable_)) : nullptr;
  if (!table || row < 0 || row >= table->paramCount) {
    controls.helpPar.clear();
    controls.rangePar.clear();
    return;
  }
  const ParDescriptor& d = table->params[static_cast<size_t>(row)];
  controls.helpPar = d.help;
  controls.rangePar = rangeText(d);
}

void ParTables::refreshSaveButtons() {
  if (shownTable_ < 0) return;
  const unsigned level = accessLevel ? accessLevel() : 0;
  controls.saveParEnabled = level >= store_.table(static_cast<size_t>(shownTable_)).level + 1u;
}

void ParTables::accessLevelChanged() {
  if (!tablesLoaded_) return;
  refreshSaveButtons();
  changed();
}

bool ParTables::checkAndStore() {
  const int t = controls.listTabsIndex;
  if (!tablesLoaded_ || t < 0 || static_cast<size_t>(t) >= ParTableStore::kMaxTables) return false;
  ParTable& table = store_.table(static_cast<size_t>(t));
  const size_t rows = std::min(controls.gridParTabs.size(), ParTableStore::kMaxParams);
  std::string reverted;  // the first cell put back, as the message names it
  size_t revertedCount = 0;
  try {
    for (size_t r = 0; r < rows; ++r) {
      std::string& cell = controls.gridParTabs[r].value;
      const uint32_t v = cellValue32(cell);
      ParDescriptor& d = table.params[r];
      if (d.accepts(v)) {
        d.value = v;
        continue;
      }
      // Out of limits: the cell shows the stored value again.
      if (revertedCount++ == 0)
        reverted =
            format("%s: %s is outside %s .. %s; kept %s", d.name.c_str(), cell.c_str(),
                   cellText(d.min).c_str(), cellText(d.max).c_str(), cellText(d.value).c_str());
      cell = cellText(d.value);
    }
  } catch (const CellConversionError&) {
    changed();  // cells reverted before the bad one stay reverted
    throw;
  }
  controls.message = revertedCount > 1 ? format("%s (and %zu more cells kept)", reverted.c_str(),
                                                revertedCount - 1)
                                       : reverted;
  writeTable_ = static_cast<uint8_t>(t);
  saveAllMode_ = false;
  channel_.queueCmd(63);
  changed();
  return true;
}

void ParTables::SaveParClick() { checkAndStore(); }

void ParTables::SaveDefClick() {
  const int t = controls.listTabsIndex;
  if (!tablesLoaded_ || t < 0 || static_cast<size_t>(t) >= ParTableStore::kMaxTables) return;
  ParTable& table = store_.table(static_cast<size_t>(t));
  const size_t rows = std::min(controls.gridParTabs.size(), ParTableStore::kMaxParams);
  for (size_t r = 0; r < rows; ++r) {
    ParDescriptor& d = table.params[r];
    if (d.accepts(d.def)) d.value = d.def;
    controls.gridParTabs[r].value = cellText(d.value);
  }
  writeTable_ = static_cast<uint8_t>(t);
  channel_.queueCmd(63);
  changed();
}

void ParTables::SaveAllDefClick() {
  if (!tablesLoaded_) return;
  for (size_t t = 0; t < store_.tableCount(); ++t) {
    ParTable& table = store_.table(t);
    for (size_t r = 0; r < table.paramCount; ++r) table.params[r].value = table.params[r].def;
  }
  startSaveAllSweep();
  channel_.queueCmd(63);
  changed();
}

void ParTables::startSaveAllSweep() {
  writeTable_ = 0;
  saveAllMode_ = true;
  controls.progress = format("Writing table 1 of %zu", store_.tableCount());
  changed();
}

void ParTables::DefOnClick(bool checked) {
  controls.defOn = checked;
  changed();
}

void ParTables::mainDisconnected() {
  controls.current = false;
  controls.message = kNotCurrent;
  controls.panelSaveVisible = false;
  controls.groupFileVisible = false;
  // The queue is emptied on the next connect, so a sweep cannot go on; a mode
  // left set would turn a later single write into a sweep.
  readAllMode_ = saveAllMode_ = reading_ = listAwaited_ = false;
  controls.progress.clear();
  changed();
}

}  // namespace vantor
