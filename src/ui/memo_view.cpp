#include "ui/memo_view.h"

#include <QStringList>
#include <algorithm>

namespace vantor {

MemoView::MemoView(QPlainTextEdit* edit, int maxLines)
    : edit_(edit), maxLines_(static_cast<size_t>(maxLines)) {
  edit_->setMaximumBlockCount(maxLines);
  edit_->setReadOnly(true);
}

void MemoView::paint(const BoundedLog& lines) {
  if (shown_ > lines.total()) shown_ = 0;
  const size_t first = lines.total() - lines.size();  // the line number of lines[0]
  shown_ = std::max(shown_, first);
  if (lines.total() - shown_ > maxLines_) shown_ = lines.total() - maxLines_;
  if (shown_ == lines.total()) return;
  QStringList batch;
  for (; shown_ < lines.total(); ++shown_) batch << QString::fromStdString(lines[shown_ - first]);
  edit_->appendPlainText(batch.join(QLatin1Char('\n')));
}

}  // namespace vantor
