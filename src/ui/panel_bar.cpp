#include "ui/panel_bar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <cmath>

namespace vantor {

namespace {
constexpr double kDesignLineHeight = 13.0;  // MS Sans Serif 8 pt at 96 dpi
}

PanelBar::PanelBar(QWidget* parent) : QFrame(parent) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void PanelBar::setPanels(std::initializer_list<int> designWidths) {
  auto* layout = static_cast<QHBoxLayout*>(this->layout());
  const double scale = std::max(1.0, fontMetrics().height() / kDesignLineHeight);
  int index = 0;
  for (int w : designWidths) {
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("%1_%2").arg(objectName()).arg(index));
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    label->setMinimumWidth(static_cast<int>(std::lround(w * scale)));
    const bool last = index + 1 == static_cast<int>(designWidths.size());
    label->setSizePolicy(last ? QSizePolicy::Expanding : QSizePolicy::Fixed,
                         QSizePolicy::Preferred);
    if (!last) label->setFixedWidth(label->minimumWidth());
    layout->addWidget(label);
    panels_.push_back(label);
    ++index;
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
