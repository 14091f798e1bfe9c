#pragma once
// The password dialog SgnF: created hidden at start-up and reused
// for every login. Showing it empties the password field.
#include <QDialog>
#include <memory>

namespace Ui {
class TSgnF;
}

namespace vantor {

class TSgnF : public QDialog {
  Q_OBJECT

 public:
  explicit TSgnF(QWidget* parent = nullptr);
  ~TSgnF() override;

  QString password() const;

 protected:
  void showEvent(QShowEvent* event) override;  // FormShow

 private:
  std::unique_ptr<Ui::TSgnF> ui_;
};

}  // namespace vantor
