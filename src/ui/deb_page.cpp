#include "ui/deb_page.h"

#include <QFontDatabase>
#include <QStyle>
#include <algorithm>

#include "ui/diagnosis_panel.h"
#include "ui/indicator.h"
#include "ui/repaint_scheduler.h"
#include "ui/show_text.h"
#include "ui/traffic_view.h"
#include "ui_deb_page.h"

namespace vantor {

DebPage::DebPage(Device& device, WindowSettings* settings, QWidget* parent)
    : QWidget(parent), device_(device), ui_(std::make_unique<Ui::DebPage>()) {
  ui_->setupUi(this);
  // The diagnosis tools and the traffic log go below the raw command.
  diagnosis_ = new DiagnosisPanel(device_, this);
  traffic_ = new TrafficView(device_, settings, this);
  const int below = ui_->debRight->indexOf(ui_->GroupRaw) + 1;
  ui_->debRight->insertWidget(below, diagnosis_);
  ui_->debRight->insertWidget(below + 1, traffic_);
  memo1_ = std::make_unique<MemoView>(ui_->Memo1, kMemoLines);
  // The read-outs and their legends share one fixed-pitch font so that each
  // two-digit group stands under its field name.
  const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  for (QWidget* w : {static_cast<QWidget*>(ui_->ProtMaster), static_cast<QWidget*>(ui_->ComProt),
                     static_cast<QWidget*>(ui_->MsComPr), static_cast<QWidget*>(ui_->SlComPr),
                     static_cast<QWidget*>(ui_->Label4), static_cast<QWidget*>(ui_->Label5)})
    w->setFont(fixed);
  const QFontMetrics fm(fixed);
  const int margin = 16;
  // ProtMaster/ComProt: 9 groups, "..  ", 3 groups = 52 characters.
  ui_->ProtMaster->setMinimumWidth(fm.horizontalAdvance(QString(53, QLatin1Char('0'))) + margin);
  ui_->ComProt->setMinimumWidth(ui_->ProtMaster->minimumWidth());
  ui_->MsComPr->setMinimumWidth(fm.horizontalAdvance(QString(14, QLatin1Char('0'))) + margin);
  ui_->SlComPr->setMinimumWidth(ui_->MsComPr->minimumWidth());
  // The legends start where the text of an edit starts: its frame and the
  // two-pixel text margin of QLineEdit.
  const int textStart =
      style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, ui_->ProtMaster) + 2;
  ui_->Label4->setContentsMargins(textStart, 0, 0, 0);
  ui_->Label5->setContentsMargins(textStart, 0, 0, 0);
  // "%d %d %d %d %d %d" of six signed 32-bit weights: up to 71 characters.
  ui_->Peso->setMinimumWidth(
      ui_->Peso->fontMetrics().horizontalAdvance(QString(72, QLatin1Char('0'))));
  ui_->ErrorApp->setMinimumWidth(
      ui_->ErrorApp->fontMetrics().horizontalAdvance(QString(12, QLatin1Char('0'))));
}

DebPage::~DebPage() = default;

void DebPage::repaintAreas(uint32_t areas) {
  if (areas & bit(Area::Memo1)) paintMemo();
  if (areas & bit(Area::Readouts)) paintReadouts();
  if (areas & bit(Area::Indicators)) paintIndicators();
  if (areas & bit(Area::LiveStatus)) paintLiveStatus();
  if (areas & bit(Area::Diagnosis)) diagnosis_->repaint();
  if (areas & bit(Area::Readouts)) traffic_->repaint();  // every frame changes the read-outs
}

void DebPage::paintMemo() { memo1_->paint(device_.shell.memo1); }

void DebPage::paintReadouts() {
  const Readouts& r = device_.channel.readouts();
  setIfChanged(ui_->ProtMaster, r.protMaster);
  setIfChanged(ui_->MsComPr, r.msComPr);
  setIfChanged(ui_->ComProt, r.comProt);
  setIfChanged(ui_->SlComPr, r.slComPr);
}

void DebPage::paintIndicators() {
  paintIndicator(ui_->MsFl, device_.shell.msFl);
  paintIndicator(ui_->SlFl, device_.shell.slFl);
}

void DebPage::paintLiveStatus() {
  const LiveStatusFields& f = device_.liveStatus.fields();
  setIfChanged(ui_->ComStat, f.comStat);
  setIfChanged(ui_->Port2, f.port2);
  setIfChanged(ui_->Peso, f.peso);
  setIfChanged(ui_->WebDeb, f.webDeb);
  setIfChanged(ui_->ErrorApp, f.errorApp);
  // Values of a device that is no longer connected are drawn greyed.
  for (QWidget* field : {static_cast<QWidget*>(ui_->ComStat), static_cast<QWidget*>(ui_->Port2),
                         static_cast<QWidget*>(ui_->Peso), static_cast<QWidget*>(ui_->WebDeb),
                         static_cast<QWidget*>(ui_->ErrorApp)})
    field->setEnabled(f.current || f.comStat.empty());
}

}  // namespace vantor
