#include "ui/tsgnf.h"

#include <QGuiApplication>
#include <QScreen>

#include "ui_tsgnf.h"

namespace vantor {

TSgnF::TSgnF(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TSgnF>()) {
  ui_->setupUi(this);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  adjustSize();
  setFixedSize(size());
}

TSgnF::~TSgnF() = default;

QString TSgnF::password() const { return ui_->Password->text(); }

void TSgnF::showEvent(QShowEvent* event) {
  ui_->Password->clear();
  ui_->Password->setFocus();
  // Centred on the screen, as a fixed dialog.
  if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
  QDialog::showEvent(event);
}

}  // namespace vantor
