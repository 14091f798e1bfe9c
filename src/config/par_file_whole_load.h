#pragma once
// A parameter file taken whole or not at all. The window loads what it can of
// a file; a script or a snapshot restore must not write a device from a file
// that was only partly understood.
#include <string>
#include <vector>

#include "config/par_table_file_group.h"

namespace vantor {

struct WholeParFileLoad {
  bool loaded = false;
  std::vector<std::string> messages;  // what the reader added to Memo7
  // Why nothing may be written, when not loaded: "Invalid File", or
  // "N lines would not load, the first: LINE".
  std::string refusal;
};

// Reads the bytes with the window's "Read File" checks into the store. The
// file is refused when the reader does not accept it or reports any line it
// did not load (a name not found, a value not a number or out of range).
WholeParFileLoad loadParFileWhole(ParTableFileGroup& file, ByteView bytes);

}  // namespace vantor
