#include "ui/value_grid.h"

#include <QHeaderView>
#include <QLineEdit>
#include <utility>

namespace vantor {

ValueGrid::ValueGrid(QWidget* parent) : QTableWidget(0, 2, parent) {
  horizontalHeader()->hide();
  verticalHeader()->hide();
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::AnyKeyPressed);
  setItemDelegate(new ValueGridDelegate(this));
}

void ValueGrid::setCellSize(int columnWidth, int rowHeight) {
  horizontalHeader()->setDefaultSectionSize(columnWidth);
  verticalHeader()->setMinimumSectionSize(rowHeight);
  verticalHeader()->setDefaultSectionSize(rowHeight);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
}

QTableWidgetItem* ValueGrid::cell(int row, int column) {
  QTableWidgetItem* it = item(row, column);
  if (!it) {
    it = new QTableWidgetItem;
    if (column == 0) {
      it->setFlags(Qt::ItemIsEnabled);  // fixed: shown, never edited or selected
      it->setBackground(palette().window());
    }
    setItem(row, column, it);
  }
  return it;
}

void ValueGrid::setNames(const std::vector<std::string>& names) {
  const int rows = static_cast<int>(names.size());
  if (rowCount() != rows) setRowCount(rows);
  for (int r = 0; r < rows; ++r) {
    const QString text = QString::fromStdString(names[static_cast<size_t>(r)]);
    QTableWidgetItem* it = cell(r, 0);
    if (it->text() != text) it->setText(text);
    for (int c = 1; c < columnCount(); ++c) cell(r, c);
  }
  if (badRow_ >= rows) badRow_ = -1;
  if (deferred_ && deferred_->row >= rows) deferred_.reset();
}

bool ValueGrid::isEditing(int row, int column) const {
  return editing_.isValid() && editing_.row() == row && editing_.column() == column &&
         indexWidget(editing_) != nullptr;
}

int ValueGrid::editingRow() const {
  return editing_.isValid() && isEditing(editing_.row(), 1) ? editing_.row() : -1;
}

void ValueGrid::setText(int row, int column, const std::string& text) {
  if (row < 0 || row >= rowCount() || column < 1 || column >= columnCount()) return;
  const QString q = QString::fromStdString(text);
  if (isEditing(row, column)) {
    deferred_ = Deferred{row, column, q};  // shown if the edit ends without a commit
    return;
  }
  QTableWidgetItem* it = cell(row, column);
  if (it->text() != q) it->setText(q);
}

bool ValueGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
  const bool editing = QTableWidget::edit(index, trigger, event);
  if (editing && index != editing_ && indexWidget(index)) {
    editing_ = index;
    deferred_.reset();
  }
  return editing;
}

void ValueGrid::commit(const QModelIndex& index, const QString& text) {
  if (deferred_ && deferred_->row == index.row() && deferred_->column == index.column())
    deferred_.reset();  // the typed text replaces what the core sent meanwhile
  emit valueCommitted(index.row(), index.column(), text);
}

void ValueGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  const std::optional<Deferred> arrived = std::exchange(deferred_, std::nullopt);
  editing_ = QPersistentModelIndex();
  // With EditNextItem this may open the editor of the next cell.
  QTableWidget::closeEditor(editor, hint);
  if (arrived && arrived->row < rowCount() && arrived->column < columnCount()) {
    QTableWidgetItem* it = cell(arrived->row, arrived->column);
    if (it->text() != arrived->text) it->setText(arrived->text);
  }
}

QModelIndex ValueGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  const QModelIndex from = currentIndex();
  const int columns = columnCount();
  const int cells = rowCount() * columns;
  if ((action != MoveNext && action != MovePrevious) || !from.isValid() || cells == 0)
    return QTableWidget::moveCursor(action, modifiers);
  const int step = action == MoveNext ? 1 : -1;
  const int start = from.row() * columns + from.column();
  for (int i = 1; i < cells; ++i) {
    const int at = ((start + step * i) % cells + cells) % cells;
    const QModelIndex index = model()->index(at / columns, at % columns);
    if (!isRowHidden(index.row()) && !isColumnHidden(index.column()) &&
        (index.flags() & Qt::ItemIsEditable))
      return index;
  }
  return from;
}

void ValueGrid::setBadRow(int row) {
  if (row == badRow_) return;
  if (badRow_ >= 0 && badRow_ < rowCount())
    cell(badRow_, 1)->setData(Qt::BackgroundRole, QVariant());
  badRow_ = row >= 0 && row < rowCount() ? row : -1;
  if (badRow_ >= 0) cell(badRow_, 1)->setBackground(QColor(255, 160, 160));
}

void ValueGrid::setCurrent(bool current) {
  if (current == current_) return;
  current_ = current;
  const QVariant colour =
      current ? QVariant() : QVariant(palette().color(QPalette::Disabled, QPalette::Text));
  for (int r = 0; r < rowCount(); ++r) cell(r, 1)->setData(Qt::ForegroundRole, colour);
}

int ValueGrid::fullHeight() const {
  return verticalHeader()->defaultSectionSize() * rowCount() + 2 * frameWidth();
}

ValueGridDelegate::ValueGridDelegate(ValueGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

void ValueGridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                     const QModelIndex& index) const {
  // An editor in which nothing was typed has nothing to take, so it cannot
  // put back a text that the core has replaced meanwhile.
  if (const auto* line = qobject_cast<QLineEdit*>(editor); line && !line->isModified()) return;
  QStyledItemDelegate::setModelData(editor, model, index);
  grid_->commit(index, model->data(index, Qt::EditRole).toString());
}

}  // namespace vantor
