#pragma once
// The "Group File" box of the "System" page: saving the parameter tables to
// their text file, reading one back into the store (messages in Memo7), and
// writing every table to the device.
#include <string>
#include <vector>

#include "config/par_tables.h"
#include "link/connection.h"
#include "link/shell.h"

namespace vantor {

class ParTableFileReader;

struct ParFileControls {
  // Only ever appended to; one file adds at most its first
  // ParTableFileReader::kMaxMessages messages, a line "... and N more" for the
  // others, and the reason when it could not be read.
  std::vector<std::string> memo7;
  bool saveAllParEnabled = false;  // "Save All ->Device": after an accepted file
};

class ParTableFileGroup {
 public:
  // identification: the device's version text, the first field of a file's
  // first line; the address written beside it is the Host edit's.
  ParTableFileGroup(Shell& shell, ParTables& tables, const ConnectionControls& link,
                    const std::string& identification);

  ParFileControls controls;

  // "Save File": replaces the file as a whole; false (and a line in Memo7)
  // when it cannot be written, and then the old file is left as it was.
  bool SaveFileAllClick(const std::string& path);
  // "Read File": reads the file into the store and shows the selected table;
  // returns whether the file was accepted. Anything but a regular file of at
  // most kParTableFileLimit bytes is refused unread, with the reason in Memo7.
  bool ReadFileParClick(const std::string& path);
  // "Read File" on a file's bytes read beforehand: the same checks and
  // messages, the file itself is not touched again.
  bool ReadFileParBytes(ByteView bytes);
  // "Save All ->Device": check-and-store of the shown table, then every table
  // written in one sweep that ends in a full re-read. Raises
  // CellConversionError like "Save Tab".
  void SaveAllParClick();

 private:
  void note(std::string line);
  // Memo7, the "Save All" button and the shown table after a reading that ended
  // (readError: why the file could not be read, if it could not).
  bool readDone(ParTableFileReader& reader, const std::string* readError);

  Shell& shell_;
  ParTables& tables_;
  const ConnectionControls& link_;
  const std::string& identification_;
};

}  // namespace vantor
