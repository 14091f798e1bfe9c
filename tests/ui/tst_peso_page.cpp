// The "PesoPage" with fake sockets: the charts' points and ranges after
// replies to command 14, the rubber-band zoom and U.Zoom, LinkX0, SavePeso
// with its file dialog, and the redraw pacing.
#include <qcustomplot.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "app/data_dir.h"
#include "fakes.h"
#include "table_device.h"
#include "ui/file_choice.h"
#include "ui/peso_page.h"
#include "ui/tqxvantor.h"
#include "ui/trace_plot.h"
#include "window_fixture.h"

using namespace vantor;
using vantor::test::FakeSeams;
using vantor::test::FakeSocket;
using vantor::test::putLe32;
using vantor::test::replyFrame;
using vantor::test::WindowFixture;

namespace {

// A reply-14 payload of n samples: real weight base + i, flags 0x01 on odd i,
// calculated weight 5.
Bytes block(uint32_t n, int32_t base = 0) {
  Bytes out;
  putLe32(out, n);
  for (uint32_t i = 0; i < n; ++i) {
    putLe32(out, static_cast<uint32_t>(base + static_cast<int32_t>(i)));
    putLe32(out, 7);
    putLe32(out, 5u << 8 | (i & 1));
  }
  return out;
}

void drag(QWidget* on, QPoint from, QPoint to) {
  QMouseEvent press(QEvent::MouseButtonPress, from, on->mapToGlobal(from), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(on, &press);
  QMouseEvent move(QEvent::MouseMove, to, on->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                   Qt::NoModifier);
  QApplication::sendEvent(on, &move);
  QMouseEvent release(QEvent::MouseButtonRelease, to, on->mapToGlobal(to), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(on, &release);
}

std::pair<double, double> xRange(TracePlot* p) {
  const QCPRange r = p->plot()->xAxis->range();
  return {r.lower, r.upper};
}

}  // namespace

class TestPesoPage : public QObject, public WindowFixture {
  Q_OBJECT

 private:
  WeightTrace& trace() { return w_->device().weightTrace; }
  PesoPage& page() { return w_->pesoPage(); }

 private slots:
  void init() {
    openSmallWindow();
    if (QTest::currentTestFailed()) return;
    w_->pages()->setCurrentWidget(find("PesoPage"));
    connectMain("127.0.0.172");
  }
  void cleanup() {
    setFileChooser({});
    w_.reset();
  }

  void controlsCarryTheirCaptionsHintsAndHelp() {
    QCOMPARE(find<QCheckBox>("FilVisi")->text(), QStringLiteral("Fillter Visibil"));
    QCOMPARE(find<QCheckBox>("FilVisi")->toolTip(),
             QStringLiteral("Habilitar linha verde filtro SW"));
    QVERIFY(!find<QCheckBox>("FilVisi")->isChecked());
    QCOMPARE(find<QCheckBox>("CalcVisi")->toolTip(),
             QString::fromUtf8("Habilitar linha azul cálculos"));
    QVERIFY(find<QCheckBox>("CalcVisi")->isChecked());
    QCOMPARE(find<QCheckBox>("CheckBoxPesoOn")->text(), QStringLiteral("PesoOn"));
    QCOMPARE(find<QPushButton>("UZoom")->text(), QStringLiteral("U.Zoom"));
    QCOMPARE(find<QPushButton>("LinkX0")->toolTip(),
             QString::fromUtf8("Linkar os 2 gráficos no X"));
    const QStringList memo = find<QPlainTextEdit>("Memo8")->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(memo.size(), 18);
    QCOMPARE(memo[0], QString::fromUtf8("Escala X: indica amostras (não é ms)"));
    QCOMPARE(memo[4], QStringLiteral("    Linha verde      : "));
    QCOMPARE(memo[17], QStringLiteral("verde             : 3"));
    QVERIFY(find<TracePlot>("PesoChart") && find<TracePlot>("OutCh"));
    QCOMPARE(page().pesoChart()->plot()->graphCount(), 4);
    QCOMPARE(page().outCh()->plot()->graphCount(), 6);
    QVERIFY(!page().pesoChart()->plot()->legend->visible());
  }

  // 998 + 5 samples: both charts scroll to 3 .. 1003 and hold every sample of
  // that range; FilPeso, hidden, has none.
  void chartsScrollAndHoldThePointsOfTheirRange() {
    ask(14, block(998));
    page().drawNow();
    QCOMPARE(xRange(page().pesoChart()), std::make_pair(0.0, WeightTrace::kInitialBottomMax));
    QCOMPARE(page().pesoChart()->pointCount(RealPeso), 962);  // samples 1 .. 962 are shown
    ask(14, block(5, 2000));
    page().drawNow();
    QCOMPARE(find<QLabel>("DataN")->text(), QStringLiteral("5"));
    QCOMPARE(find<QLineEdit>("PesoCalc")->text(), QStringLiteral("5"));
    QCOMPARE(xRange(page().pesoChart()), std::make_pair(3.0, 1003.0));
    QCOMPARE(xRange(page().outCh()), std::make_pair(3.0, 1003.0));
    QCOMPARE(page().pesoChart()->pointCount(RealPeso), 1001);
    QCOMPARE(page().pesoChart()->pointCount(CalcPeso), 1001);
    QCOMPARE(page().pesoChart()->pointCount(FilPeso), 0);
    QCOMPARE(page().outCh()->pointCount(SensorOn - kWeightChartSeries), 1001);
    const QCPRange y = page().pesoChart()->plot()->yAxis->range();  // automatic
    QCOMPARE(y.lower, 0.0);
    QCOMPARE(y.upper, 2004.0);
    QCOMPARE(page().outCh()->plot()->yAxis->range().upper, 2.0);

    // Zoomed out over a long history, each series gets at most two points a column.
    for (int i = 0; i < 100; ++i) ask(14, block(1000, i));
    trace().zoom(TraceChart::Peso, {{0, 200000, false}, {0, 3000, false}});
    page().drawNow();
    QVERIFY(page().pesoChart()->pointCount(RealPeso) <= 2 * page().pesoChart()->plotWidth());
  }

  void rubberBandZoomIsUndoneByUZoomAndLinkX0CopiesTheRange() {
    ask(14, block(3000));
    page().drawNow();
    QCustomPlot* plot = page().pesoChart()->plot();
    const QRect area = plot->axisRect()->rect();
    const TraceChartAxes before = trace().pesoChart;
    drag(plot, area.topLeft() + QPoint(area.width() / 4, 10),
         area.topLeft() + QPoint(area.width() / 2, area.height() - 10));
    page().drawNow();
    const TraceChartAxes zoomed = trace().pesoChart;
    QVERIFY(zoomed.bottom.min > before.bottom.min + 200);
    QVERIFY(zoomed.bottom.max < before.bottom.max - 400);
    QVERIFY(!zoomed.left.automatic);
    QCOMPARE(xRange(page().pesoChart()), std::make_pair(zoomed.bottom.min, zoomed.bottom.max));
    QCOMPARE(xRange(page().outCh()), std::make_pair(2000.0, 3000.0));  // not linked yet

    QTest::mouseClick(find<QPushButton>("LinkX0"), Qt::LeftButton);
    page().drawNow();
    QCOMPARE(xRange(page().outCh()), std::make_pair(zoomed.bottom.min, zoomed.bottom.max));

    QTest::mouseClick(find<QPushButton>("UzoomB0"), Qt::LeftButton);
    page().drawNow();
    QCOMPARE(plot->yAxis->range().upper, zoomed.left.max + 10);

    QTest::mouseClick(find<QPushButton>("UZoom"), Qt::LeftButton);
    page().drawNow();
    QVERIFY(trace().pesoChart == before);
    QCOMPARE(xRange(page().pesoChart()), std::make_pair(2000.0, 3000.0));
  }

  void savePesoStaysUncheckedWhenTheDialogIsCancelled() {
    int asked = 0;
    setFileChooser([&](QWidget*, const FileDialogRequest&) -> std::optional<QString> {
      ++asked;
      return std::nullopt;
    });
    auto* box = find<QCheckBox>("SavePeso");
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    QCOMPARE(asked, 1);
    QVERIFY(!box->isChecked());
    QVERIFY(!trace().recording());

    const QString path = dir_->filePath(QStringLiteral("trace.txt"));
    setFileChooser([&](QWidget*, const FileDialogRequest& r) -> std::optional<QString> {
      ++asked;
      return r.title == QStringLiteral("Record the weight trace") ? std::optional(path)
                                                                  : std::nullopt;
    });
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    QVERIFY(box->isChecked());
    QVERIFY(trace().recording());
    QVERIFY(!find<QCheckBox>("CheckBoxPesoOn")->isEnabled());
    ask(14, block(2));
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    QVERIFY(!trace().recording());
    QVERIFY(find<QCheckBox>("CheckBoxPesoOn")->isEnabled());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().count("\r\n"), 4);
  }

  // Replies faster than 25 a second share one redraw.
  void redrawsArePacedByTheTimer() {
    page().drawNow();
    const int drawsBefore = page().draws();
    for (int i = 0; i < 10; ++i) ask(14, block(250, i));
    QCOMPARE(page().draws(), drawsBefore);
    QVERIFY(page().drawPending());
    QTRY_COMPARE(page().draws(), drawsBefore + 1);
    QTest::qWait(2 * PesoPage::kMinDrawMs);
    QCOMPARE(page().draws(), drawsBefore + 1);
    const QString shot = qEnvironmentVariable("VANTOR_PESO_SHOT");
    if (!shot.isEmpty()) w_->grab().save(shot);
  }
};

QTEST_MAIN(TestPesoPage)
#include "tst_peso_page.moc"
