#include "ui/guarded.h"

#include <QMessageBox>
#include <exception>

#include "app/data_dir.h"

namespace vantor {

namespace {
ErrorPresenter& presenter() {
  static ErrorPresenter p = [](QWidget* owner, const QString& text) {
    QMessageBox::critical(owner, QString::fromUtf8(kWindowCaption), text);
  };
  return p;
}
}  // namespace

void setErrorPresenter(ErrorPresenter p) { presenter() = std::move(p); }

void showError(QWidget* owner, const QString& text) { presenter()(owner, text); }

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
