#include "ui/peso_page.h"

#include <QPixmap>

#include "ui/file_choice.h"
#include "ui/guarded.h"
#include "ui/qx3_panel_box.h"
#include "ui/trace_plot.h"
#include "ui_peso_page.h"

namespace vantor {

namespace {

// Memo8: what the lines and bars of the two charts mean.
const char* const kMemo8[] = {
    "Escala X: indica amostras (não é ms)",
    "",
    "Gráfico 1:",
    "    Linha vermelha: peso real do modulo de pesagem",
    "    Linha verde      : ",
    "         1 peso com filtro SW QX7",
    "         2 pulso início fim pesagem",
    "    Linha azul:",
    "         1 peso calculado depois do sensor. ",
    "         2 procura de zero automático. ",
    "",
    "Gráfico 2:",
    "Barra amarela: sensor balança acionado ",
    "Linha preta    : tem barcode na serial",
    "Barra rosa      : barcode valido recebido em espera",
    "Linha azul      : saída 1",
    "vermelha        : saída 2",
    "verde             : 3",
};

struct SeriesLook {
  TracePlot::Kind kind;
  QColor colour;
  int penWidth;
};

// By TraceSeries, in drawing order.
const SeriesLook kLooks[kTraceSeriesCount] = {
    {TracePlot::Kind::Area, Qt::yellow, 0},             // SensOn
    {TracePlot::Kind::Line, Qt::blue, 1},               // CalcPeso
    {TracePlot::Kind::Line, Qt::red, 1},                // RealPeso
    {TracePlot::Kind::Line, Qt::green, 1},              // FilPeso
    {TracePlot::Kind::Area, QColor(255, 128, 255), 0},  // ReadCode
    {TracePlot::Kind::Area, Qt::yellow, 0},             // SensorOn
    {TracePlot::Kind::Line, Qt::red, 2},                // Out1
    {TracePlot::Kind::Line, Qt::blue, 2},               // Out2
    {TracePlot::Kind::Line, Qt::darkCyan, 2},           // Out3 (teal)
    {TracePlot::Kind::Line, Qt::black, 2},              // BarCodeFl
};

void addSeries(TracePlot* plot, int first, int end) {
  for (int k = first; k < end; ++k) {
    const SeriesLook& look = kLooks[k];
    plot->addSeries(QString::fromLatin1(traceSeriesName(k)), look.kind, look.colour, look.penWidth);
  }
}

void draw(TracePlot* plot, const TraceChartAxes& axes, int first, int end, ReducedTrace& reduced,
          const TraceHistory& history) {
  reduceTrace(history, axes.bottom.min, axes.bottom.max, plot->plotWidth(), reduced);
  for (int k = first; k < end; ++k) plot->setPoints(k - first, reduced.series[k]);
  plot->setRanges(axes);
  plot->replot();
}

}  // namespace

PesoPage::PesoPage(Device& device, WindowSettings& settings, QWidget* parent)
    : QWidget(parent),
      device_(device),
      trace_(device.weightTrace),
      settings_(settings),
      ui_(std::make_unique<Ui::PesoPage>()) {
  ui_->setupUi(this);
  pesoChart_ = new TracePlot(QStringLiteral("PesoChart"), ui_->PesoCharts);
  outCh_ = new TracePlot(QStringLiteral("OutCh"), ui_->PesoCharts);
  ui_->PesoCharts->layout()->addWidget(pesoChart_);
  ui_->PesoCharts->layout()->addWidget(outCh_);
  static_cast<QVBoxLayout*>(ui_->PesoCharts->layout())->setStretch(0, 3);
  static_cast<QVBoxLayout*>(ui_->PesoCharts->layout())->setStretch(1, 1);
  pesoChart_->setMinimumSize(300, 180);
  outCh_->setMinimumSize(300, 90);
  addSeries(pesoChart_, 0, kWeightChartSeries);
  addSeries(outCh_, kWeightChartSeries, kTraceSeriesCount);
  pesoChart_->onZoom = [this](const TraceChartAxes& to) {
    runGuarded(this, [&] { trace_.zoom(TraceChart::Peso, to); });
  };
  outCh_->onZoom = [this](const TraceChartAxes& to) {
    runGuarded(this, [&] { trace_.zoom(TraceChart::Out, to); });
  };

  QStringList memo;
  for (const char* line : kMemo8) memo << QString::fromUtf8(line);
  ui_->Memo8->setPlainText(memo.join(QLatin1Char('\n')));

  auto guarded = [this](auto handler) { return [this, handler] { runGuarded(this, handler); }; };
  connect(ui_->FilVisi, &QCheckBox::clicked, this,
          [this](bool on) { runGuarded(this, [&] { trace_.FilVisiClick(on); }); });
  connect(ui_->CalcVisi, &QCheckBox::clicked, this,
          [this](bool on) { runGuarded(this, [&] { trace_.CalcVisiClick(on); }); });
  connect(ui_->CheckBoxPesoOn, &QCheckBox::clicked, this,
          [this](bool on) { runGuarded(this, [&] { trace_.CheckBoxPesoOnClick(on); }); });
  connect(ui_->SavePeso, &QCheckBox::clicked, this, [this](bool on) { savePesoClicked(on); });
  connect(ui_->UZoom, &QPushButton::clicked, this, guarded([this] { trace_.UZoomClick(); }));
  connect(ui_->LinkX0, &QPushButton::clicked, this, guarded([this] { trace_.LinkX0Click(); }));
  connect(ui_->UzoomB0, &QPushButton::clicked, this, guarded([this] { trace_.UzoomB0Click(); }));
  connect(ui_->ExportCsv, &QPushButton::clicked, this, guarded([this] { exportCsv(); }));
  connect(ui_->ExportPng, &QPushButton::clicked, this, guarded([this] { exportPng(); }));

  panelQx3_ = new Qx3PanelBox(device, this);
  ui_->pesoControls->addWidget(panelQx3_);

  drawTimer_.setSingleShot(true);
  drawTimer_.setInterval(kMinDrawMs);
  connect(&drawTimer_, &QTimer::timeout, this, [this] { drawNow(); });
  changeId_ = trace_.onChange.connect([this] { traceChanged(); });
  drawNow();
}

PesoPage::~PesoPage() { trace_.onChange.disconnect(changeId_); }

void PesoPage::repaintAreas(uint32_t areas) { panelQx3_->repaintAreas(areas); }

QWidget* PesoPage::charts() const { return ui_->PesoCharts; }

// A change waits for the timer, so replies that come faster than 25 a second
// share one redraw.
void PesoPage::traceChanged() {
  if (!drawTimer_.isActive()) drawTimer_.start();
}

void PesoPage::drawNow() {
  drawTimer_.stop();
  const TraceHistory& history = trace_.history();
  draw(pesoChart_, trace_.pesoChart, 0, kWeightChartSeries, pesoReduced_, history);
  draw(outCh_, trace_.outCh, kWeightChartSeries, kTraceSeriesCount, outReduced_, history);
  paintControls();
  ++draws_;
}

void PesoPage::paintControls() {
  const WeightTraceControls& c = trace_.controls;
  ui_->DataN->setText(QString::fromStdString(c.dataN));
  ui_->PesoCalc->setText(QString::fromStdString(c.pesoCalc));
  ui_->FilVisi->setChecked(c.filVisi);
  ui_->CalcVisi->setChecked(c.calcVisi);
  ui_->CheckBoxPesoOn->setChecked(c.checkBoxPesoOn);
  ui_->CheckBoxPesoOn->setEnabled(c.checkBoxPesoOnEnabled);
  ui_->SavePeso->setChecked(c.savePeso);
  QString message = QString::fromStdString(c.message);
  if (!c.historyNote.empty()) {
    if (!message.isEmpty()) message += QLatin1Char('\n');
    message += QString::fromStdString(c.historyNote);
  }
  ui_->PesoMessage->setText(message);
}

void PesoPage::savePesoClicked(bool checked) {
  runGuarded(this, [&] {
    std::optional<std::string> path;
    if (trace_.savePesoWantsPath(checked))
      path = chooseFile(this, settings_, FileDialogKind::Save, FileKind::TraceRecord);
    trace_.SavePesoClick(checked, path);
  });
  drawNow();  // the box shows at once whether anything records
}

void PesoPage::exportCsv() {
  const auto path = chooseFile(this, settings_, FileDialogKind::Save, FileKind::TraceExport);
  if (!path) return;
  const bool whole = ui_->ExportRange->currentIndex() == 1;
  const TraceHistory& h = trace_.history();
  const double lo = whole ? double(h.firstX()) : trace_.pesoChart.bottom.min;
  const double hi = whole ? double(h.endX()) : trace_.pesoChart.bottom.max;
  std::string error;
  const bool done = trace_.exportCsv(*path, lo, hi, error);
  ui_->PesoMessage->setText(
      done ? QStringLiteral("Exported to %1").arg(QString::fromStdString(*path))
           : QString::fromStdString(error));
}

void PesoPage::exportPng() {
  const auto path = chooseFile(this, settings_, FileDialogKind::Save, FileKind::TraceExport);
  if (!path) return;
  const QString file = QString::fromStdString(*path);
  const bool done = ui_->PesoCharts->grab().save(file, "PNG");
  ui_->PesoMessage->setText(done ? QStringLiteral("Exported to %1").arg(file)
                                 : QStringLiteral("Cannot write %1").arg(file));
}

}  // namespace vantor
