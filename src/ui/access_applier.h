#pragma once
// Sets the window's controls from the access table of the core: each row's
// control is found once by its objectName; a page row shows or hides the tab
// of that page, an "enabled" row enables the control, a "visible" row shows
// it. Rows whose control is not in this build are skipped (see missingRows).
#include <QString>
#include <cstdint>
#include <vector>

#include "access/access_table.h"

class QTabWidget;
class QWidget;

namespace vantor {

class AccessApplier {
 public:
  AccessApplier(QWidget* root, QTabWidget* pages);

  void apply(uint8_t level);

  // The rows that act on a control of this window, and those that do not (yet).
  std::vector<const AccessRow*> liveRows() const;
  std::vector<const AccessRow*> missingRows() const;

 private:
  struct Bound {
    const AccessRow* row;
    QWidget* widget;  // the control, or the page; nullptr when not in the window
  };
  QTabWidget* pages_;
  std::vector<Bound> bound_;
};

}  // namespace vantor
