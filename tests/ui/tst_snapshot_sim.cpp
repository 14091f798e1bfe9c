// The window's "Snapshot" menu against rw4000-sim over loopback
// (127.0.0.245): a snapshot saved from the menu holds every part with its
// manifest; a restore from it writes and reads back every part; a restore
// cancelled at once stops after the part under way and says what it wrote;
// without a connection nothing starts.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "app/data_dir.h"
#include "launcher/sim_process.h"
#include "platform/qt_seams.h"
#include "ui/guarded.h"
#include "ui/panel_bar.h"
#include "ui/snapshot_menu.h"
#include "ui/tqxvantor.h"

using namespace vantor;

class TestSnapshotSim : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    setErrorPresenter([this](QWidget*, const QString& text) { errors_ << text; });
  }
  void cleanup() { setErrorPresenter(nullptr); }

  void saveAndRestoreFromTheMenu() {
    QTemporaryDir dir;
    QtSeams seams;
    TQXVantor w(seams, WindowStart{withTrailingSlash(dir.path().toStdString()),
                                   std::string("127.0.0.245")});
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* bar = w.findChild<QMenuBar*>(QStringLiteral("SnapshotMenuBar"));
    QVERIFY(bar && bar->isVisible());
    QVERIFY(w.findChild<QAction*>(QStringLiteral("SaveSnapshot")));
    QCOMPARE(w.findChild<QAction*>(QStringLiteral("RestoreSnapshot"))->text(),
             QStringLiteral("Restore snapshot..."));

    SnapshotMenu& menu = w.snapshotMenu();
    const std::string snap = dir.filePath(QStringLiteral("line1")).toStdString();
    menu.save(snap);  // not connected yet
    QVERIFY(!menu.running());
    QCOMPARE(errors_.size(), 1);
    QVERIFY(errors_.back().startsWith(QStringLiteral("Not connected")));

    rwsim::SimProcess sim(QStringLiteral("127.0.0.245"));
    QVERIFY(sim.ready());
    QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("LanOn")), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(w.errorBar()->text(0), QStringLiteral("Conect Master"), 10000);
    QTRY_VERIFY(!w.device().liveStatus.version().empty());

    menu.save(snap);
    QVERIFY(menu.running());
    QVERIFY(menu.progressDialog());
    QTRY_VERIFY_WITH_TIMEOUT(!menu.running(), 20000);
    QVERIFY2(menu.result().endsWith(QStringLiteral("Done.")), qPrintable(menu.result()));
    QCOMPARE(QDir(QString::fromStdString(snap)).entryList(QDir::Files).size(), 6);

    menu.restore(snap);
    QTRY_VERIFY_WITH_TIMEOUT(!menu.running(), 20000);
    QVERIFY2(menu.result().contains(QStringLiteral("users: written and read back")),
             qPrintable(menu.result()));
    QVERIFY2(menu.result().endsWith(QStringLiteral("Done.")), qPrintable(menu.result()));

    // Cancelled at once: the first part is written, no other.
    menu.restore(snap);
    QVERIFY(menu.progressDialog());
    QTRY_VERIFY_WITH_TIMEOUT(menu.progressDialog()->labelText().startsWith("Writing"), 20000);
    QTest::mouseClick(menu.progressDialog()->findChild<QPushButton*>(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!menu.running(), 20000);
    QTRY_COMPARE(errors_.size(), 2);  // shown once the reply is handled
    QCOMPARE(errors_.back(), menu.result());
    QVERIFY2(menu.result().endsWith(QStringLiteral("cancelled; written to the device: tables")),
             qPrintable(menu.result()));
  }

 private:
  QStringList errors_;
};

QTEST_MAIN(TestSnapshotSim)
#include "tst_snapshot_sim.moc"
