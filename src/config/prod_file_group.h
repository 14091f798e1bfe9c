#pragma once
// The "Group File" box of the "Produto" page: saving the product store to its
// text file ("Save Product") and reading one back into the store ("Read
// Prod"), with their messages in Memo9. Reading does not write to the device;
// "Save All ->Device" does that afterwards.
#include <string>
#include <vector>

#include "config/products.h"
#include "link/bytes.h"
#include "link/shell.h"

namespace vantor {

class ProdTableFileReader;

struct ProdFileControls {
  // Only ever appended to; one file adds at most its first
  // ProdTableFileReader::kMaxMessages messages and a line "... and N more".
  std::vector<std::string> memo9;
};

// What one reading of a file came to.
struct ProdFileRead {
  bool read = false;    // the file was read (false: it could not be opened or read)
  size_t problems = 0;  // messages of things in the file not loaded as they stand
};

class ProdFileGroup {
 public:
  ProdFileGroup(Shell& shell, Products& products);

  ProdFileControls controls;

  // "Save Product": replaces the file as a whole; false (and the reason in
  // Memo9) when it cannot be written, and then the old file is left as it was.
  // Texts that will not read back are named in Memo9, the file is written all
  // the same.
  bool ExpProdClick(const std::string& path);
  // "Read Prod": reads the file into the store and shows the chosen product.
  // Anything but a regular file of at most kProdTableFileLimit bytes is
  // refused unread, with the reason in Memo9.
  ProdFileRead InpProdClick(const std::string& path);
  // "Read Prod" on a file's bytes read beforehand.
  ProdFileRead InpProdBytes(ByteView bytes);

 private:
  void note(std::string line);
  bool refusedWithoutStructure();
  ProdFileRead readDone(ProdTableFileReader& reader, const std::string* readError);

  Shell& shell_;
  Products& products_;
};

}  // namespace vantor
