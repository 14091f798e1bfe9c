#pragma once
// The values of a snapshot part as named cells ("Balanca Tara" = "120"), the
// form in which two snapshots are compared without a device, and the one way
// a difference is written, whatever the two sides are.
#include <string>
#include <string_view>
#include <vector>

#include "link/bytes.h"

namespace vantor {

struct NamedCell {
  std::string name;   // in the device's own words: "Balanca Tara", "product 3, Descricao"
  std::string value;  // as shown: numbers in decimal, texts in double quotes
  // A password: compared, but never shown.
  bool secret = false;
  bool operator==(const NamedCell&) const = default;
};
using NamedCells = std::vector<NamedCell>;

// What the two sides of a comparison are called in its lines.
struct DiffSides {
  std::string first = "device";
  std::string second = "snapshot";
};

// One value in which the two sides differ; a side that does not hold it
// shows "(none)".
struct CellDifference {
  std::string part;  // "tables"
  std::string name;  // the cell's name
  std::string first;
  std::string second;
  bool operator==(const CellDifference&) const = default;
  // "tables: Balanca Tara: device 120, snapshot 150".
  std::string text(const DiffSides& sides = {}) const;
};
// A text as a cell shows it: in double quotes.
std::string quotedCell(const std::string& text);

// A cell as a file holds it: a signed decimal number as the number (so that
// "+07" and "7" agree), anything else as a quoted text.
std::string cellValue(std::string_view text);

// One difference per cell whose values differ, in the order of `first` and then of
// the cells only `second` holds; a cell one side does not hold shows as
// "(none)", a secret one as "(hidden)". Cells of the same name are paired in their order.
std::vector<CellDifference> cellDifferences(const std::string& part, const NamedCells& first,
                                            const NamedCells& second);

// The cells of `cells` whose names `names` holds.
NamedCells cellsNamedIn(const NamedCells& cells, const NamedCells& names);

}  // namespace vantor
