// The "Login" page with fake sockets: its controls, a read shown masked, the
// PswSel overlay placed over the selected row's password cell and masked, and
// "Set All" sending the typed password but not the grid's password column.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include "ui/value_grid.h"
#include "window_fixture.h"

using namespace vantor;
using vantor::test::FakeSeams;
using vantor::test::replyFrame;

class TestLoginPage : public QObject, vantor::test::WindowFixture {
  Q_OBJECT

 private:
  void clickCell(ValueGrid* grid, int row, int column) {
    const QRect cell = grid->visualRect(grid->model()->index(row, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    w_->repaintNow();
  }
  static Bytes block() {
    Bytes b(404, 0);
    for (size_t i = 0; i < 10; ++i) {
      b[i * 6] = static_cast<uint8_t>('a' + i);
      b[60 + i * 13] = 'p';
      b[60 + i * 13 + 1] = static_cast<uint8_t>('0' + i);
      b[190 + i * 21] = 'N';
    }
    return b;
  }

 private slots:
  void init() {
    openSmallWindow();
    connectMain("127.0.0.238");
  }
  void cleanup() { w_.reset(); }

  void controlsAndAccess() {
    QTabWidget* pages = w_->pages();
    const int tab = pages->indexOf(find("Login"));
    QVERIFY(tab >= 0);
    QCOMPARE(pages->tabText(tab), QStringLiteral("Login"));
    QVERIFY(!pages->isTabVisible(tab));
    QCOMPARE(find<QLabel>("Label_ListaUsuarios")->text(), QStringLiteral("Lista de usuários:"));
    QCOMPARE(find<QPushButton>("SetSelLog")->text(), QStringLiteral("Set Sel User"));
    QCOMPARE(find<QPushButton>("GetLogin")->text(), QStringLiteral("Get All"));
    QCOMPARE(find<QPushButton>("SetLogin")->text(), QStringLiteral("Set All"));
    auto* grid = find<ValueGrid>("LoginUserTab");
    QCOMPARE(grid->rowCount(), 11);
    QCOMPARE(grid->columnCount(), 4);
    const int widths[] = {62, 119, 120, 120};
    for (int c = 0; c < 4; ++c) QCOMPARE(grid->columnWidth(c), widths[c]);
    QCOMPARE(grid->item(0, 3)->text(), QStringLiteral("Nome"));
    QVERIFY(!(grid->item(1, 2)->flags() & Qt::ItemIsEditable));
    QVERIFY(grid->item(1, 1)->flags() & Qt::ItemIsEditable);
    QVERIFY(!find<QCheckBox>("VisSgn")->isEnabled());
    setLevel(2);
    QVERIFY(pages->isTabVisible(tab));
    QVERIFY(!find<QCheckBox>("VisSgn")->isEnabled());
    QVERIFY(!find("SetSelLog")->isHidden());
    setLevel(3);
    QVERIFY(find<QCheckBox>("VisSgn")->isEnabled());
  }

  void overlayPlacedMaskedAndSent() {
    setLevel(4);
    w_->pages()->setCurrentWidget(find("Login"));
    click("GetLogin");
    device().channel.sendNextCmd();
    QCOMPARE(lan2().takeWrite().at(7), uint8_t{38});
    lan2().receive(replyFrame(38, block()));
    w_->repaintNow();
    auto* grid = find<ValueGrid>("LoginUserTab");
    QCOMPARE(grid->item(3, 1)->text(), QStringLiteral("c"));
    QCOMPARE(grid->item(3, 2)->text(), QStringLiteral("++++"));

    clickCell(grid, 3, 2);
    QCOMPARE(find<QLineEdit>("LSelUser")->text(), QStringLiteral("3"));
    auto* psw = find<QLineEdit>("PswSel");
    QVERIFY(psw->isVisible());
    QCOMPARE(psw->echoMode(), QLineEdit::Password);
    QVERIFY(psw->text().isEmpty());
    // Over the password cell of row 3, in the page's coordinates.
    const QRect cellRect = grid->visualRect(grid->model()->index(3, 2));
    const QRect cell(grid->viewport()->mapTo(psw->parentWidget(), cellRect.topLeft()),
                     cellRect.size());
    const QRect over = psw->geometry() & cell;
    QVERIFY2(over.width() * over.height() >= cell.width() * cell.height() * 8 / 10,
             qPrintable(QStringLiteral("overlay %1,%2 %3x%4 cell %5,%6 %7x%8")
                            .arg(psw->x())
                            .arg(psw->y())
                            .arg(psw->width())
                            .arg(psw->height())
                            .arg(cell.x())
                            .arg(cell.y())
                            .arg(cell.width())
                            .arg(cell.height())));
    QTest::keyClicks(psw, QStringLiteral("newpw"));
    clickCell(grid, 5, 1);  // leaves the overlay and hides it
    QVERIFY(!psw->isVisible());
    QCOMPARE(grid->item(3, 2)->text(), QStringLiteral("*******"));
    QCOMPARE(grid->item(5, 2)->text(), QStringLiteral("++++"));

    click("SetLogin");
    device().channel.sendNextCmd();
    const Bytes frame = lan2().takeWrite();
    QCOMPARE(frame.at(7), uint8_t{39});
    const std::string password3(frame.begin() + 8 + 60 + 2 * 13,
                                frame.begin() + 8 + 60 + 2 * 13 + 5);
    QCOMPARE(password3, std::string("newpw"));
    QCOMPARE(frame.at(8 + 60 + 4 * 13 + 1), uint8_t{'4'});  // row 5 kept what was read
    const QByteArray out = qgetenv("VANTOR_SCREENSHOT_DIR");
    if (!out.isEmpty()) {
      QDir().mkpath(QString::fromLocal8Bit(out));
      QVERIFY(w_->grab().save(QDir(QString::fromLocal8Bit(out)).filePath("login_page.png")));
    }
  }
};

QTEST_MAIN(TestLoginPage)
#include "tst_login_page.moc"
