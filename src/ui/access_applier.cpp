#include "ui/access_applier.h"

#include <QTabWidget>
#include <QWidget>

namespace vantor {

AccessApplier::AccessApplier(QWidget* root, QTabWidget* pages) : pages_(pages) {
  for (const AccessRow& row : accessTable()) {
    const QString name =
        QString::fromUtf8(row.control.data(), static_cast<qsizetype>(row.control.size()));
    QWidget* widget = nullptr;
    if (row.effect == AccessEffect::Page) {
      for (int i = 0; i < pages_->count() && !widget; ++i)
        if (pages_->widget(i)->objectName() == name) widget = pages_->widget(i);
    } else {
      widget = root->findChild<QWidget*>(name);
    }
    bound_.push_back({&row, widget});
  }
}

void AccessApplier::apply(uint8_t level) {
  for (const Bound& b : bound_) {
    if (!b.widget) continue;
    const bool on = accessGranted(*b.row, level);
    switch (b.row->effect) {
      case AccessEffect::Page:
        pages_->setTabVisible(pages_->indexOf(b.widget), on);
        break;
      case AccessEffect::Enabled:
        b.widget->setEnabled(on);
        break;
      case AccessEffect::Visible:
        b.widget->setVisible(on);
        break;
    }
  }
}

std::vector<const AccessRow*> AccessApplier::liveRows() const {
  std::vector<const AccessRow*> rows;
  for (const Bound& b : bound_)
    if (b.widget) rows.push_back(b.row);
  return rows;
}

std::vector<const AccessRow*> AccessApplier::missingRows() const {
  std::vector<const AccessRow*> rows;
  for (const Bound& b : bound_)
    if (!b.widget) rows.push_back(b.row);
  return rows;
}

}  // namespace vantor
