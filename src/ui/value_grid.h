#pragma once
// ValueGrid: the two-column grid of the "System" and "SystemBin" pages.
// Column 0 holds fixed names, column 1 the values the user may type. What is
// typed is reported as it is typed (valueEdited), so the core's model always
// holds the grid's text; a refresh from the core leaves the cell that is being
// edited alone, so a repaint never takes a half-typed value away.
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <string>
#include <vector>

namespace vantor {

class ValueGrid : public QTableWidget {
  Q_OBJECT

 public:
  explicit ValueGrid(QWidget* parent = nullptr);

  // Grid geometry: width of both columns and height of every row.
  void setCellSize(int columnWidth, int rowHeight);
  // The rows: their names in column 0 (rows are added or removed to match).
  void setNames(const std::vector<std::string>& names);
  // The text of column 1 in row `row`, unless that cell is being edited.
  void setValue(int row, const std::string& text);
  // The row whose value is being edited, -1 for none.
  int editingRow() const;
  // Marks one value cell as refused (-1: none).
  void setBadRow(int row);
  // The height that shows every row without a scroll bar.
  int fullHeight() const;

 signals:
  void valueEdited(int row, const QString& text);

 private:
  QTableWidgetItem* cell(int row, int column);
  bool painting_ = false;
  int badRow_ = -1;
};

// Hands every keystroke of a value cell's editor to the grid.
class ValueGridDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;

 signals:
  void typed(int row, const QString& text) const;
};

}  // namespace vantor
