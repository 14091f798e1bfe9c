// The "Login" page against rw4000-sim over loopback (127.0.0.239): "Get All"
// shows the simulator's accounts masked, a password typed in PswSel and "Set
// All" reach the device, and a second read shows them.
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "app/data_dir.h"
#include "launcher/sim_process.h"
#include "platform/qt_seams.h"
#include "ui/panel_bar.h"
#include "ui/tqxvantor.h"
#include "ui/value_grid.h"

using namespace vantor;

class TestLoginSim : public QObject {
  Q_OBJECT

 private slots:
  void readWriteAndReadAgain() {
    rwsim::SimProcess sim(QStringLiteral("127.0.0.239"));
    QVERIFY(sim.ready());
    QTemporaryDir dir;
    QtSeams seams;
    TQXVantor w(seams, WindowStart{withTrailingSlash(dir.path().toStdString()),
                                   std::string("127.0.0.239")});
    w.resize(1024, 600);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.device().access.setLevel(3);
    w.device().access.apply();
    w.repaintNow();
    w.pages()->setCurrentWidget(w.findChild<QWidget*>(QStringLiteral("Login")));
    QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("LanOn")), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(w.errorBar()->text(0), QStringLiteral("Conect Master"), 10000);
    auto* grid = w.findChild<ValueGrid*>(QStringLiteral("LoginUserTab"));
    QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("GetLogin")), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(grid->item(1, 1)->text(), QStringLiteral("admin"), 5000);
    QCOMPARE(grid->item(1, 2)->text(), QStringLiteral("++++"));
    QCOMPARE(grid->item(9, 3)->text(), QStringLiteral("Tecnico de Servico"));

    const QRect cell = grid->visualRect(grid->model()->index(4, 2));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    auto* psw = w.findChild<QLineEdit*>(QStringLiteral("PswSel"));
    QTRY_VERIFY(psw->isVisible());
    QTest::keyClicks(psw, QStringLiteral("fresh"));
    QTest::keyClick(psw, Qt::Key_Return);
    QTRY_COMPARE(grid->item(4, 2)->text(), QStringLiteral("*******"));
    const QByteArray out = qgetenv("VANTOR_SCREENSHOT_DIR");
    if (!out.isEmpty()) {
      QDir().mkpath(QString::fromLocal8Bit(out));
      QVERIFY(w.grab().save(QDir(QString::fromLocal8Bit(out)).filePath("login_sim.png")));
    }
    QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("SetLogin")), Qt::LeftButton);
    w.findChild<QCheckBox*>(QStringLiteral("VisSgn"))->setChecked(true);
    QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("GetLogin")), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(grid->item(4, 2)->text(), QStringLiteral("fresh"), 5000);
    QCOMPARE(grid->item(1, 2)->text(), QStringLiteral("velmor2026"));
  }
};

QTEST_MAIN(TestLoginSim)
#include "tst_login_sim.moc"
