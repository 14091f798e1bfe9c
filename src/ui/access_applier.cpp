#include "ui/access_applier.h"

#include <QHash>
#include <QTabWidget>
#include <QWidget>
#include <algorithm>

#include "access/access_control.h"

namespace vantor {

namespace {
QString nameOf(const AccessRow& row) {
  return QString::fromUtf8(row.control.data(), static_cast<qsizetype>(row.control.size()));
}

QString neededLevel(const AccessRow& row) {
  const std::string_view name = accessLevelName(row.threshold);
  return QStringLiteral("Needs access level %1 (%2)")
      .arg(row.threshold)
      .arg(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
}

// The control's own tooltip, as it was before the level was added to it.
constexpr const char* kOwnToolTip = "accessOwnToolTip";

void explainLevel(QWidget* widget, const QString& needed) {
  QVariant own = widget->property(kOwnToolTip);
  if (!own.isValid()) {
    own = widget->toolTip();
    widget->setProperty(kOwnToolTip, own);
  }
  const QString text = own.toString().isEmpty() ? needed : own.toString() + '\n' + needed;
  if (widget->toolTip() != text) widget->setToolTip(text);
}
}  // namespace

AccessApplier::AccessApplier(QWidget* window, QTabWidget* pages) : pages_(pages) {
  roots_.emplace_back(window);
}

void AccessApplier::addRoot(QWidget* root) {
  if (!root) return;
  if (std::find(roots_.begin(), roots_.end(), root) == roots_.end()) roots_.emplace_back(root);
  if (applied_) apply(*applied_);
}

std::vector<std::vector<QWidget*>> AccessApplier::lookUp() const {
  QHash<QString, std::vector<QWidget*>> named;
  for (const AccessRow& row : accessTable()) named.insert(nameOf(row), {});
  for (const QPointer<QWidget>& root : roots_) {
    if (!root) continue;
    for (QWidget* widget : root->findChildren<QWidget*>()) {
      if (widget->isWindow()) continue;
      const auto it = named.find(widget->objectName());
      // Roots may nest (a dialog of the window registered on its own).
      if (it != named.end() && std::find(it->begin(), it->end(), widget) == it->end())
        it->push_back(widget);
    }
  }
  std::vector<std::vector<QWidget*>> found;
  for (const AccessRow& row : accessTable()) found.push_back(named.value(nameOf(row)));
  return found;
}

bool AccessApplier::acts(const AccessRow& row, const std::vector<QWidget*>& named) const {
  // A page row acts only on a page of the tab widget: only a page has a tab.
  return std::any_of(named.begin(), named.end(), [&](QWidget* w) {
    return row.effect != AccessEffect::Page || pages_->indexOf(w) >= 0;
  });
}

void AccessApplier::set(const AccessRow& row, const std::vector<QWidget*>& named, uint8_t level) {
  const bool on = accessGranted(row, level);
  const QString needed = neededLevel(row);
  for (QWidget* widget : named) {
    switch (row.effect) {
      case AccessEffect::Page:
        if (const int tab = pages_->indexOf(widget); tab >= 0) {
          pages_->setTabVisible(tab, on);
          pages_->setTabToolTip(tab, needed);
        }
        break;
      case AccessEffect::Enabled:
        widget->setEnabled(on);
        explainLevel(widget, needed);
        break;
      case AccessEffect::Visible:
        widget->setVisible(on);
        explainLevel(widget, needed);
        break;
    }
  }
}

void AccessApplier::apply(uint8_t level) {
  std::erase_if(roots_, [](const QPointer<QWidget>& root) { return root.isNull(); });
  applied_ = level;
  const std::vector<std::vector<QWidget*>> found = lookUp();
  const std::span<const AccessRow> rows = accessTable();
  for (size_t i = 0; i < rows.size(); ++i) {
    if (found[i].size() > 1)
      qWarning("access table: %zu controls are named %s", found[i].size(),
               qPrintable(nameOf(rows[i])));
    set(rows[i], found[i], level);
  }
}

std::vector<const AccessRow*> AccessApplier::liveRows() const {
  const std::vector<std::vector<QWidget*>> found = lookUp();
  std::vector<const AccessRow*> rows;
  for (size_t i = 0; i < found.size(); ++i)
    if (acts(accessTable()[i], found[i])) rows.push_back(&accessTable()[i]);
  return rows;
}

std::vector<const AccessRow*> AccessApplier::missingRows() const {
  const std::vector<std::vector<QWidget*>> found = lookUp();
  std::vector<const AccessRow*> rows;
  for (size_t i = 0; i < found.size(); ++i)
    if (!acts(accessTable()[i], found[i])) rows.push_back(&accessTable()[i]);
  return rows;
}

std::vector<QString> AccessApplier::duplicateNames() const {
  const std::vector<std::vector<QWidget*>> found = lookUp();
  std::vector<QString> names;
  for (size_t i = 0; i < found.size(); ++i)
    if (found[i].size() > 1) names.push_back(nameOf(accessTable()[i]));
  return names;
}

}  // namespace vantor
