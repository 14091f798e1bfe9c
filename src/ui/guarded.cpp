#include "ui/guarded.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>

namespace vantor {

namespace {
ErrorPresenter& presenter() {
  static ErrorPresenter p = [](QWidget* owner, const QString& text) {
    QMessageBox::critical(owner, QApplication::applicationDisplayName(), text);
  };
  return p;
}
}  // namespace

void setErrorPresenter(ErrorPresenter p) { presenter() = std::move(p); }

void runGuarded(QWidget* owner, const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    presenter()(owner, QString::fromStdString(e.what()));
  } catch (...) {
    presenter()(owner, QStringLiteral("Unknown error"));
  }
}

}  // namespace vantor
