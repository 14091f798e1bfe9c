#pragma once
// Shows a core memo (BoundedLog) in a QPlainTextEdit: only the lines added
// since the last call are appended, and of those only the newest `maxLines`,
// so a flood of lines costs at most one screenful of work per repaint.
#include <QPlainTextEdit>
#include <cstddef>

#include "link/bounded_log.h"

namespace vantor {

class MemoView {
 public:
  MemoView(QPlainTextEdit* edit, int maxLines);
  void paint(const BoundedLog& lines);

 private:
  QPlainTextEdit* edit_;
  size_t maxLines_;
  size_t shown_ = 0;  // the number of lines (of the log's total) in the widget
};

}  // namespace vantor
