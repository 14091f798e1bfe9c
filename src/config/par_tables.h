#pragma once
// ParTables: the device's parameter tables on the "System" page. Downloads
// the table list (62) and every descriptor (64) in a self-chaining sweep,
// shows one table at a time with its help and range, checks edits against the
// limits and writes tables back (63), also as defaults and all in one sweep
// that ends in a full re-read.
//
// The page binds to `controls` (named after its widgets) and repaints on
// Area::ParTables; an edit of the grid's value column is written into
// controls.gridParTabs[row].value when it ends and read when a table is saved.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "config/par_table_store.h"
#include "link/command_channel.h"
#include "link/command_feature.h"
#include "link/shell.h"

namespace vantor {

struct ParGridRow {
  std::string name;   // column 0, fixed
  std::string value;  // column 1, editable; unsigned decimal when shown
};

struct ParTablesControls {
  std::vector<std::string> listTabs;  // ListTabs items: the table names
  int listTabsIndex = -1;             // selected item, -1 for none
  std::vector<ParGridRow> gridParTabs;
  int gridRow = 0;       // the grid's current row
  std::string gridHint;  // the shown table's name
  std::string helpPar = "HelpPar";
  std::string rangePar = "RangePar";
  std::string labelTabSgn;        // level name that writing the table needs
  bool panelSaveVisible = false;  // PanelSave, from the first table list on
  bool groupFileVisible = false;  // GroupFile, likewise
  bool saveParEnabled = false;    // SavePar and SaveDef: per-table level rule
  bool defOn = false;             // SaveDef and SaveAllDef visible while ticked
  std::string progress;           // "Reading table 3 of 6, parameter 12 of 40"; empty when idle
  // The page's message line: what a save wrote, which cells went back to their
  // stored values, or that the values shown are not current.
  std::string message;
  // The tables were read from the device connected now; false from the end of
  // the main link until they are read again (the window greys them).
  bool current = false;
};

class ParTables final : public CommandFeature {
 public:
  static constexpr const char* kNotCurrent = kNotCurrentText;
  // tablesLoaded: the shared flag that reply 62 sets and the end of the main
  // connection clears.
  ParTables(Shell& shell, CommandChannel& channel, bool& tablesLoaded);

  ParTablesControls controls;

  // User actions of the page.
  void GetAllParClick();  // "Read All"
  void GetTabClick();     // "Read Tab"
  void ListTabsChange(int index);
  void GridParTabsSelectCell(int row);
  void SaveParClick();     // "Save Tab"; a cell that is no number raises CellConversionError
  void SaveDefClick();     // "Save Def"
  void SaveAllDefClick();  // "Save All Def"
  void DefOnClick(bool checked);

  // Operations the file group uses as well.
  void showTable(int t);
  // Check-and-store of the selected table's grid, then command 63 for it.
  // Raises CellConversionError at the first cell that is no number; the rows
  // before it keep their stored values and nothing is queued. False when no
  // table is selected or the tables are not loaded (nothing queued either).
  bool checkAndStore();
  // Makes the queued command 63 the start of a save-all sweep.
  void startSaveAllSweep();

  // The connection ended: save panels hidden, sweeps abandoned.
  void mainDisconnected();
  // The access level changed: SavePar/SaveDef follow the shown table's level.
  void accessLevelChanged();

  // The tool's access level (0 when not wired).
  std::function<uint8_t()> accessLevel;
  // The codes of access levels 1, 2, 3 of each table list, for the access control.
  std::function<void(const std::array<std::string, 3>&)> onAccessCodes;

  const ParTableStore& store() const { return store_; }
  ParTableStore& store() { return store_; }
  bool tablesLoaded() const { return tablesLoaded_; }
  // A read or write sweep is under way (or its table list is awaited).
  bool busy() const { return reading_ || saveAllMode_ || listAwaited_; }

  void buildRequest(int code, RequestWriter& out) override;
  void handleReply(int code, PayloadReader& payload) override;
  void requestEnded(int code, RequestEnd end) override;

 private:
  void tableListReply(PayloadReader& payload);
  void descriptorReply(PayloadReader& payload);
  void tableWritten();
  void requestTableList();
  bool refusedWhileDisconnected();
  void requestDescriptor();
  void showHelpAndRange(int row);
  void refreshSaveButtons();
  void changed() { shell_.changed(Area::ParTables); }

  Shell& shell_;
  CommandChannel& channel_;
  bool& tablesLoaded_;
  ParTableStore store_;
  int shownTable_ = -1;
  uint8_t readTable_ = 0, readRow_ = 0;  // read cursor of the next 64
  uint8_t writeTable_ = 0;               // write cursor of the next 63
  bool readAllMode_ = false;
  bool saveAllMode_ = false;
  bool reading_ = false;
  bool listAwaited_ = false;
};

}  // namespace vantor
