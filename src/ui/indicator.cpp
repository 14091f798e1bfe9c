#include "ui/indicator.h"

#include <QApplication>
#include <QLabel>
#include <QPalette>

namespace vantor {

void paintIndicator(QLabel* box, Colour colour) {
  QColor background = QApplication::palette().color(QPalette::Button);
  QColor text = QApplication::palette().color(QPalette::ButtonText);
  switch (colour) {
    case Colour::Red:
      background = QColor(255, 0, 0);
      text = Qt::white;
      break;
    case Colour::Green:
      background = QColor(0, 128, 0);
      text = Qt::white;
      break;
    case Colour::ButtonFace:
      break;
  }
  QPalette p = box->palette();
  if (p.color(QPalette::Window) == background) return;
  p.setColor(QPalette::Window, background);
  p.setColor(QPalette::WindowText, text);
  box->setAutoFillBackground(true);
  box->setPalette(p);
}

}  // namespace vantor
