#pragma once
// The controls that the access level shows, hides, enables or disables, as one
// data table. The window finds each control by its objectName and
// sets it from the row; pages and controls not in the table are always
// available.
#include <cstdint>
#include <span>
#include <string_view>

namespace vantor {

enum class AccessEffect : uint8_t {
  Enabled,  // enabled exactly when the level reaches the threshold
  Visible,  // shown exactly when the level reaches the threshold
  Page,     // a tab page, shown exactly when the level reaches the threshold
};

struct AccessRow {
  std::string_view control;  // objectName of the control or page
  uint8_t threshold;         // lowest level at which it is available
  AccessEffect effect;
};

// The rows in the order the window lists them.
std::span<const AccessRow> accessTable();

// Whether the row's control is available (enabled or shown) at the level.
constexpr bool accessGranted(const AccessRow& row, uint8_t level) { return level >= row.threshold; }

// The row of a control, or nullptr for a control that is always available.
const AccessRow* findAccessRow(std::string_view control);

}  // namespace vantor
