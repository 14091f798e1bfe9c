#include "ui/tfirm_cont.h"

#include <QTimer>

#include "ui/file_choice.h"
#include "ui/guarded.h"
#include "ui/panel_bar.h"
#include "ui_tfirm_cont.h"

namespace vantor {

namespace {
QString colourSheet(const char* selector, const char* colour) {
  return colour ? QStringLiteral("%1 { background-color: %2; }")
                      .arg(QLatin1String(selector), QLatin1String(colour))
                : QString();
}
}  // namespace

TFirm_cont::TFirm_cont(Seams& seams, WindowSettings& settings, QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::TFirm_cont>()),
      settings_(settings),
      upload_(seams) {
  ui_->setupUi(this);
  ui_->ErrorBar->setPanels({100, 100, 100});
  const auto guarded = [this](void (FirmwareUpload::*handler)()) {
    return [this, handler] { runGuarded(this, [this, handler] { (upload_.*handler)(); }); };
  };
  connect(ui_->BtBoot, &QPushButton::clicked, this, guarded(&FirmwareUpload::BtBootClick));
  connect(ui_->BtRST, &QPushButton::clicked, this, guarded(&FirmwareUpload::BtRSTClick));
  connect(ui_->Conect, &QPushButton::clicked, this, guarded(&FirmwareUpload::ConectClick));
  connect(ui_->BtWR, &QPushButton::clicked, this, guarded(&FirmwareUpload::BtWRClick));
  connect(ui_->BtGetSt, &QPushButton::clicked, this, guarded(&FirmwareUpload::BtGetStClick));
  connect(ui_->BtFW, &QPushButton::clicked, this, guarded(&FirmwareUpload::BtFWClick));
  connect(ui_->BtAbort, &QPushButton::clicked, this, guarded(&FirmwareUpload::AbortClick));
  connect(ui_->BtStrt, &QPushButton::clicked, this,
          [this] { runGuarded(this, [this] { BtStrtClick(); }); });

  changeId_ = upload_.onChange.connect([this] { schedulePaint(); });
  // "WRITED": the reset is sent and the window closes with OK, once the
  // socket event that brought it is over.
  eventId_ = upload_.onEvent.connect([this](FirmwareEvent e) {
    if (e == FirmwareEvent::ClosedOk)
      QMetaObject::invokeMethod(
          this, [this] { accept(); }, Qt::QueuedConnection);
  });
  paint();
}

TFirm_cont::~TFirm_cont() {
  upload_.onChange.disconnect(changeId_);
  upload_.onEvent.disconnect(eventId_);
}

bool TFirm_cont::run(const std::string& host) {
  upload_.host = host;
  return exec() == QDialog::Accepted;
}

void TFirm_cont::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  runGuarded(this, [this] { upload_.FormShow(); });
}

void TFirm_cont::done(int result) {
  runGuarded(this, [this] { upload_.FormClose(); });
  repaintNow();
  QDialog::done(result);
}

void TFirm_cont::BtStrtClick() {
  const auto path = chooseFile(this, settings_, FileDialogKind::Open, FileKind::Firmware);
  if (!path) return;
  upload_.BtStrtClick(*path);
}

void TFirm_cont::schedulePaint() {
  if (paintPending_) return;
  paintPending_ = true;
  QTimer::singleShot(0, this, [this] { repaintNow(); });
}

void TFirm_cont::repaintNow() {
  paintPending_ = false;
  paint();
}

void TFirm_cont::paint() {
  const FirmwareView& v = upload_.view();
  // The bar counts in bytes of the file; a big file is shown in steps that fit its int range.
  const int64_t scale = v.progressMaximum > (1 << 30) ? v.progressMaximum / (1 << 30) + 1 : 1;
  ui_->ProgressBarFW->setMaximum(static_cast<int>(v.progressMaximum / scale));
  ui_->ProgressBarFW->setValue(static_cast<int>(v.progressPosition / scale));
  const char* wr = v.wrFl == Colour::Red ? "red" : v.wrFl == Colour::Green ? "lime" : nullptr;
  ui_->WRFl->setStyleSheet(colourSheet("QLabel", wr));
  ui_->Edit2->setText(QString::fromStdString(v.edit2));
  ui_->Edit2->setStyleSheet(
      colourSheet("QLineEdit", v.edit2Colour == Edit2Colour::Yellow ? "yellow" : nullptr));
  ui_->BtBoot->setEnabled(v.btBootEnabled);
  ui_->BtStrt->setEnabled(v.btStrtEnabled);
  ui_->BtAbort->setEnabled(v.abortEnabled);
  ui_->Conect->setEnabled(v.conectEnabled);
  ui_->FwProgress->setText(QString::fromStdString(v.progressLine));
  ui_->FwMessage->setText(QString::fromStdString(v.message));
  for (int i = 0; i < 3; ++i)
    ui_->ErrorBar->setText(i, QString::fromStdString(v.errorBar.at(static_cast<size_t>(i))));
}

}  // namespace vantor
