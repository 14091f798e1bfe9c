#pragma once
// ValueGrid: a grid of text cells over a table the core holds. Column 0 holds
// fixed names; the other columns hold values the user may edit.
//
// An edit reaches the core only when it ends: Enter, Tab, a click on another
// cell or the focus leaving the editor commit the typed text (valueCommitted);
// Escape drops it, and the core never hears it. An editor in which nothing was
// typed commits nothing. A refresh from the core never overwrites the cell
// being edited; the newest value it brought for that cell is shown when the
// edit ends without a commit.
#include <QPersistentModelIndex>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <optional>
#include <string>
#include <vector>

namespace vantor {

class ValueGrid : public QTableWidget {
  Q_OBJECT

 public:
  explicit ValueGrid(QWidget* parent = nullptr);

  // Grid geometry: width of every column and height of every row.
  void setCellSize(int columnWidth, int rowHeight);
  // The rows: their names in column 0 (rows are added or removed to match).
  void setNames(const std::vector<std::string>& names);
  // The text of a value cell, unless that cell is being edited.
  void setText(int row, int column, const std::string& text);
  // The text of column 1 in row `row`, unless that cell is being edited.
  void setValue(int row, const std::string& text) { setText(row, 1, text); }
  // The row whose value is being edited, -1 for none.
  int editingRow() const;
  // Marks one cell of column 1 as refused (-1: none).
  void setBadRow(int row);
  // Values no longer current (read from a device that is not connected now) are
  // drawn greyed.
  void setCurrent(bool current);
  bool isCurrent() const { return current_; }
  // The height that shows every row without a scroll bar.
  int fullHeight() const;

 signals:
  // An edit of a value cell ended with this text to be taken.
  void valueCommitted(int row, int column, const QString& text);

 protected:
  using QTableWidget::edit;
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
  // Tab and Backtab move between the cells that can be edited.
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

 private:
  friend class ValueGridDelegate;
  struct Deferred {
    int row, column;
    QString text;
  };
  QTableWidgetItem* cell(int row, int column);
  bool isEditing(int row, int column) const;
  void commit(const QModelIndex& index, const QString& text);

  int badRow_ = -1;
  bool current_ = true;
  QPersistentModelIndex editing_;     // the cell whose editor is open
  std::optional<Deferred> deferred_;  // what a refresh brought for that cell
};

// Creates the editors of a value grid and hands it what an edit commits.
class ValueGridDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  explicit ValueGridDelegate(ValueGrid* grid);
  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override;

 private:
  ValueGrid* grid_;
};

}  // namespace vantor
