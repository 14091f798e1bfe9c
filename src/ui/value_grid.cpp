#include "ui/value_grid.h"

#include <QHeaderView>
#include <QLineEdit>

namespace vantor {

ValueGrid::ValueGrid(QWidget* parent) : QTableWidget(0, 2, parent) {
  horizontalHeader()->hide();
  verticalHeader()->hide();
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::AnyKeyPressed);
  auto* delegate = new ValueGridDelegate(this);
  setItemDelegate(delegate);
  connect(delegate, &ValueGridDelegate::typed, this, &ValueGrid::valueEdited);
  // A committed edit (also one that was pasted or ended without typing).
  connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
    if (!painting_ && item->column() == 1) emit valueEdited(item->row(), item->text());
  });
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
  painting_ = true;
  const int rows = static_cast<int>(names.size());
  if (rowCount() != rows) setRowCount(rows);
  for (int r = 0; r < rows; ++r) {
    const QString text = QString::fromStdString(names[static_cast<size_t>(r)]);
    QTableWidgetItem* it = cell(r, 0);
    if (it->text() != text) it->setText(text);
    cell(r, 1);
  }
  if (badRow_ >= rows) badRow_ = -1;
  painting_ = false;
}

int ValueGrid::editingRow() const {
  if (state() != QAbstractItemView::EditingState) return -1;
  const QModelIndex current = currentIndex();
  return current.isValid() && current.column() == 1 ? current.row() : -1;
}

void ValueGrid::setValue(int row, const std::string& text) {
  if (row < 0 || row >= rowCount() || row == editingRow()) return;
  painting_ = true;
  const QString q = QString::fromStdString(text);
  QTableWidgetItem* it = cell(row, 1);
  if (it->text() != q) it->setText(q);
  painting_ = false;
}

void ValueGrid::setBadRow(int row) {
  if (row == badRow_) return;
  painting_ = true;
  if (badRow_ >= 0 && badRow_ < rowCount())
    cell(badRow_, 1)->setData(Qt::BackgroundRole, QVariant());
  badRow_ = row >= 0 && row < rowCount() ? row : -1;
  if (badRow_ >= 0) cell(badRow_, 1)->setBackground(QColor(255, 160, 160));
  painting_ = false;
}

int ValueGrid::fullHeight() const {
  return verticalHeader()->defaultSectionSize() * rowCount() + 2 * frameWidth();
}

QWidget* ValueGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const {
  QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
  if (auto* line = qobject_cast<QLineEdit*>(editor)) {
    const int row = index.row();
    connect(line, &QLineEdit::textEdited, this,
            [this, row](const QString& text) { emit typed(row, text); });
  }
  return editor;
}

}  // namespace vantor
