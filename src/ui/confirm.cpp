#include "ui/confirm.h"

#include <QMessageBox>
#include <QPushButton>

namespace vantor {

namespace {

bool askInDialog(QWidget* owner, const Confirmation& question) {
  QMessageBox box(QMessageBox::Warning, question.title, question.text, QMessageBox::NoButton,
                  owner);
  QPushButton* proceed = box.addButton(question.proceed, QMessageBox::AcceptRole);
  QPushButton* cancel = box.addButton(QMessageBox::Cancel);
  box.setDefaultButton(cancel);
  box.setEscapeButton(cancel);
  box.exec();
  return box.clickedButton() == proceed;
}

ConfirmPresenter& presenter() {
  static ConfirmPresenter current = askInDialog;
  return current;
}

}  // namespace

bool confirm(QWidget* owner, const Confirmation& question) { return presenter()(owner, question); }

void setConfirmPresenter(ConfirmPresenter p) {
  presenter() = p ? std::move(p) : ConfirmPresenter(askInDialog);
}

}  // namespace vantor
