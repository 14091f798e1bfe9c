#pragma once
// Sets the window's controls from the access table of the core. The controls
// are looked up by objectName at every application, under the main window and
// every root registered with addRoot (a dialog or window created later, also
// one without a parent), so controls created after the window are covered. A
// page row shows or hides the tab of that page, an "enabled" row enables the
// control, a "visible" row shows it. Windows themselves are never matched.
// Every control of the table (a page: its tab) gets a tooltip that says the
// level it needs, "Needs access level 3 (SERVICE USER)", after the control's
// own tooltip if it has one.
// Rows whose control is not there are skipped (see missingRows); a name that
// more than one control carries is reported (see duplicateNames) and every
// control of that name is set.
#include <QPointer>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "access/access_table.h"

class QTabWidget;
class QWidget;

namespace vantor {

class AccessApplier {
 public:
  AccessApplier(QWidget* window, QTabWidget* pages);

  // Adds a widget under which controls are looked up; it is set at once to
  // the level applied last. A root that is destroyed drops out by itself.
  void addRoot(QWidget* root);
  void apply(uint8_t level);

  // The rows that act on a control now, and those that do not (yet).
  std::vector<const AccessRow*> liveRows() const;
  std::vector<const AccessRow*> missingRows() const;
  // The control names of the table that more than one control carries.
  std::vector<QString> duplicateNames() const;

 private:
  // For each row of the table, the controls that carry its name now.
  std::vector<std::vector<QWidget*>> lookUp() const;
  bool acts(const AccessRow& row, const std::vector<QWidget*>& named) const;
  void set(const AccessRow& row, const std::vector<QWidget*>& named, uint8_t level);

  QTabWidget* pages_;
  std::vector<QPointer<QWidget>> roots_;
  std::optional<uint8_t> applied_;
};

}  // namespace vantor
