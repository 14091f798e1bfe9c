#include "ui/panel_bar.h"

#include <QLabel>
#include <QMouseEvent>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace vantor {

namespace {
constexpr double kDesignLineHeight = 13.0;  // MS Sans Serif 8 pt at 96 dpi
constexpr int kGap = 2;                     // between two panels
}  // namespace

PanelBar::PanelBar(QWidget* parent) : QFrame(parent) {
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void PanelBar::setPanels(std::initializer_list<int> designWidths) {
  const double scale = std::max(1.0, fontMetrics().height() / kDesignLineHeight);
  int index = 0;
  for (int w : designWidths) {
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("%1_%2").arg(objectName()).arg(index));
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    label->show();
    panels_.push_back(label);
    widths_.push_back(static_cast<int>(std::lround(w * scale)));
    ++index;
  }
  updateGeometry();
  placePanels();
}

int PanelBar::designTotal() const {
  const int gaps = panels_.empty() ? 0 : kGap * (count() - 1);
  return std::accumulate(widths_.begin(), widths_.end(), 0) + gaps;
}

QSize PanelBar::sizeHint() const {
  const int height =
      panels_.empty() ? fontMetrics().height() : panels_.front()->sizeHint().height();
  return {designTotal(), height};
}

QSize PanelBar::minimumSizeHint() const {
  return {static_cast<int>(std::ceil(designTotal() * kLeastShare)), sizeHint().height()};
}

void PanelBar::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  placePanels();
}

// Each panel at its design width, or all of them the same share narrower
// when the bar is narrower than the design; the last takes what is left.
void PanelBar::placePanels() {
  if (panels_.empty()) return;
  const int gaps = kGap * (count() - 1);
  const int designed = designTotal() - gaps;
  const double share = std::min(1.0, static_cast<double>(width() - gaps) / designed);
  int x = 0;
  for (int i = 0; i < count(); ++i) {
    const bool last = i + 1 == count();
    const int w = last ? std::max(0, width() - x)
                       : static_cast<int>(std::lround(widths_[static_cast<size_t>(i)] * share));
    panels_[static_cast<size_t>(i)]->setGeometry(x, 0, w, height());
    x += w + kGap;
  }
}

void PanelBar::setText(int panel, const QString& text) {
  QLabel* label = panels_.at(static_cast<size_t>(panel));
  if (label->text() == text) return;
  label->setText(text);
  label->setToolTip(text);  // a text wider than its panel is read in full here
}

QString PanelBar::text(int panel) const { return panels_.at(static_cast<size_t>(panel))->text(); }

void PanelBar::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    emit clicked();
  QFrame::mouseReleaseEvent(event);
}

}  // namespace vantor
