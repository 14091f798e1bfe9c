#pragma once
// The firmware window Firm_cont: created hidden at start-up and reused, shown
// modally from the QX7 page's "FW" button. It binds its form to the core's
// FirmwareUpload, which owns the window's socket, timers and state.
#include <QDialog>
#include <memory>
#include <string>

#include "firmware/firmware_upload.h"

namespace Ui {
class TFirm_cont;
}

namespace vantor {

class WindowSettings;

class TFirm_cont : public QDialog {
  Q_OBJECT

 public:
  TFirm_cont(Seams& seams, WindowSettings& settings, QWidget* parent = nullptr);
  ~TFirm_cont() override;

  // Shows the window modally for the device at `host`; true when it closed with OK.
  bool run(const std::string& host);

  FirmwareUpload& upload() { return upload_; }
  // Paints what the core reported as changed without waiting for the event loop.
  void repaintNow();

 protected:
  void showEvent(QShowEvent* event) override;  // FormShow
  void done(int result) override;              // FormClose, for every way of closing

 private:
  void schedulePaint();
  void paint();
  void BtStrtClick();

  std::unique_ptr<Ui::TFirm_cont> ui_;
  WindowSettings& settings_;
  FirmwareUpload upload_;
  Signal<>::Id changeId_ = 0;
  Signal<FirmwareEvent>::Id eventId_ = 0;
  bool paintPending_ = false;
};

}  // namespace vantor
