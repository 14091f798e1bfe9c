// The "PesoPage" against rw4000-sim over loopback: with PesoOn the trace of
// the simulated line arrives, both charts scroll together, redraws stay within
// 25 a second, and the page can be looked at (VANTOR_SCREENSHOT_DIR).
#include <qcustomplot.h>

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "app/data_dir.h"
#include "launcher/sim_process.h"
#include "platform/qt_seams.h"
#include "ui/guarded.h"
#include "ui/panel_bar.h"
#include "ui/peso_page.h"
#include "ui/tqxvantor.h"
#include "ui/trace_plot.h"

using namespace vantor;

class TestPesoSim : public QObject {
  Q_OBJECT

 private slots:
  void theTraceOfARunningLineScrollsBothCharts() {
    setErrorPresenter(
        [](QWidget*, const QString& text) { QFAIL(qPrintable("unexpected message: " + text)); });
    rwsim::SimProcess sim(QStringLiteral("127.0.0.174"), {}, {QStringLiteral("--seed"), "3"});
    QVERIFY(sim.ready());
    QTemporaryDir dir;
    {
      QtSeams seams;
      TQXVantor w(seams, WindowStart{withTrailingSlash(dir.path().toStdString()),
                                     std::string("127.0.0.174")});
      w.resize(1024, 600);
      w.show();
      QVERIFY(QTest::qWaitForWindowExposed(&w));
      QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("LanOn")), Qt::LeftButton);
      QTRY_COMPARE_WITH_TIMEOUT(w.errorBar()->text(0), QStringLiteral("Conect Master"), 10000);
      w.pages()->setCurrentWidget(w.findChild<QWidget*>(QStringLiteral("PesoPage")));
      PesoPage& page = w.pesoPage();
      auto* pesoOn = w.findChild<QCheckBox*>(QStringLiteral("CheckBoxPesoOn"));
      QTest::mouseClick(pesoOn, Qt::LeftButton, {}, QPoint(6, pesoOn->height() / 2));
      QCOMPARE(w.device().connection.controls.selAuto, PollMode::Peso);

      const WeightTrace& trace = w.device().weightTrace;
      const int drawsBefore = page.draws();
      QElapsedTimer clock;
      clock.start();
      QTRY_VERIFY_WITH_TIMEOUT(trace.counter() > 2500, 15000);
      const double firstMax = page.pesoChart()->plot()->xAxis->range().upper;
      QTRY_VERIFY_WITH_TIMEOUT(page.pesoChart()->plot()->xAxis->range().upper > firstMax + 500,
                               5000);
      page.drawNow();
      const QCPRange x = page.pesoChart()->plot()->xAxis->range();
      QCOMPARE(x.upper, double(trace.counter()));
      QCOMPARE(x.upper - x.lower, 1000.0);
      QCOMPARE(page.outCh()->plot()->xAxis->range().upper, x.upper);
      QVERIFY(page.pesoChart()->pointCount(RealPeso) > 900);
      QVERIFY(page.outCh()->pointCount(SensorOn - kWeightChartSeries) > 900);
      // Never more than 25 redraws a second (one more for the drawNow above).
      QVERIFY(page.draws() - drawsBefore <= clock.elapsed() / PesoPage::kMinDrawMs + 2);

      const QByteArray out = qgetenv("VANTOR_SCREENSHOT_DIR");
      if (!out.isEmpty()) {
        QDir().mkpath(QString::fromLocal8Bit(out));
        QVERIFY(w.grab().save(QDir(QString::fromLocal8Bit(out)).filePath("vantor-peso.png")));
      }
      QTest::mouseClick(pesoOn, Qt::LeftButton, {}, QPoint(6, pesoOn->height() / 2));
      QCOMPARE(w.device().connection.controls.selAuto, PollMode::Off);
    }
    QCOMPARE(sim.stop(), 0);
    setErrorPresenter({});
  }
};

QTEST_MAIN(TestPesoSim)
#include "tst_peso_sim.moc"
