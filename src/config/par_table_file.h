#pragma once
// ParTableFile: the parameter tables as a tab-separated text file, lines
// ending in CR LF on disk.
//
//   IDENTIFICATION \t IP:HOST
//   (empty line)
//   TABLE NAME
//   \t PARAMETER NAME \t VALUE      (signed decimal, one line per parameter)
//   ... an empty line and a title block for every table
//
// Only names and values are stored. Reading matches by position and by name
// at once: the n-th parameter line after a title loads into row n of that
// table, and only when the names agree.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "config/file_bytes.h"
#include "config/par_table_store.h"

namespace vantor {

// Ten tables of fifty parameters make about 20 KB; a larger file is refused
// unread.
inline constexpr FileLimit kParTableFileLimit{1u << 20, "a parameter file"};

// The whole file as it is written: "%s\tIP:%s\n", then "\n%s\n" and
// "\t%s\t%d\n" per table and parameter, every "\n" as CR LF.
std::string parTableFileText(const std::string& identification, const std::string& host,
                             const ParTableStore& store);

// Reads a file fed to it in pieces of any size into the store, and collects
// the messages the window appends to Memo7.
//
// The first line must carry the expected identification ("Version OK";
// otherwise "Invalid File" and nothing is read). A title line (one field)
// moves to the next table: "J NAME", or "J not found->> NAME" when the name
// differs from the device's table at that position; a title past the listed
// tables ends the reading. A parameter line (three fields) loads its value
// into the next row when the names agree ("R not found->> NAME" otherwise).
// A value that is not a 32-bit cell number ("R not a number->> NAME TEXT") or
// lies outside the parameter's limits ("R out of range->> NAME TEXT") is not
// loaded and the stored value stays. Other lines are ignored.
//
// Only the first kMaxMessages messages are kept; the others are counted, and
// the reading goes on all the same.
class ParTableFileReader {
 public:
  static constexpr size_t kMaxLine = 999;           // longer lines lose their end
  static constexpr size_t kMaxIdentification = 99;  // characters compared
  static constexpr size_t kMaxMessages = 200;       // kept of one file

  // identification: the device's text as the status bar shows it; the part
  // up to its first tab is compared.
  ParTableFileReader(std::string_view identification, ParTableStore& store);

  void feed(std::string_view bytes);
  // The end of the file: a last line without a line end is read as well.
  void finish();

  bool accepted() const { return accepted_; }
  bool stopped() const { return stopped_; }
  // The first kMaxMessages messages, and how many more there were.
  const std::vector<std::string>& messages() const { return messages_; }
  size_t messagesNotKept() const { return notKept_; }

 private:
  void endLine();
  void handleLine(std::string_view line);
  void parameterLine(std::string_view name, std::string_view valueText);
  void put(char c);
  void message(std::string text);

  std::string expected_;
  ParTableStore& store_;
  std::string line_;
  bool pendingCr_ = false;
  bool accepted_ = false;
  bool stopped_ = false;
  bool lineStarted_ = false;
  long table_ = -1;  // j: the title seen last
  size_t row_ = 0;   // r: the next parameter row of that table
  std::vector<std::string> messages_;
  size_t notKept_ = 0;
};

}  // namespace vantor
