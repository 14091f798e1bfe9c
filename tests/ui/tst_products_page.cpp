// The "Produto" page with fake sockets and a hand-written product device:
// the controls and their captions, the whole download into the list and the
// grid, a typed cell sent by "Set Sel Prod", a refused cell shown red, "Mk New
// Prod", and the product file through the file dialogs.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "app/data_dir.h"
#include "fakes.h"
#include "product_device.h"
#include "ui/confirm.h"
#include "ui/file_choice.h"
#include "ui/guarded.h"
#include "ui/tqxvantor.h"
#include "ui/value_grid.h"
#include "window_fixture.h"

using namespace vantor;
using vantor::test::FakeSeams;
using vantor::test::FakeSocket;
using vantor::test::ProductDevice;
using vantor::test::replyFrame;
using vantor::test::WindowFixture;

class TestProductsPage : public QObject, public WindowFixture {
  Q_OBJECT

 private:
  ProductDevice dev_;
  QStringList messages_;
  QList<Confirmation> asked_;

  void open() {
    openWindow();
    if (QTest::currentTestFailed()) return;
    w_->activateWindow();  // an editor loses its focus only in the active window
    QVERIFY(QTest::qWaitForWindowActive(w_.get()));
    w_->pages()->setCurrentWidget(find("TabProduto"));
  }
  // Sends what the clicks queued; the product device answers it and what it chains.
  void serve() {
    while (device().channel.queue().size() != 0 || !lan2().writes.empty()) {
      device().channel.sendNextCmd();
      dev_.serve(lan2());
    }
    w_->repaintNow();
  }
  // Opens the window at access level 4 and downloads everything.
  void loadAll() {
    open();
    device().access.passwordDialogClosed("Velmor");
    connectMain("127.0.0.9");
    w_->repaintNow();
    QVERIFY(!find("PanelProd")->isVisible());  // until the structure comes
    click("GetHDProd");
    serve();
  }
  // Opens the editor of a value cell, types `text` and ends the edit with Return.
  void typeInto(int row, const QString& text) {
    ValueGrid* grid = find<ValueGrid>("ProdGrid");
    grid->setCurrentCell(row, 1);
    grid->editItem(grid->item(row, 1));
    auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->model()->index(row, 1)));
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
  }
  QString cell(int row, int column = 1) {
    return find<ValueGrid>("ProdGrid")->item(row, column)->text();
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    seams_ = std::make_unique<FakeSeams>();
    messages_.clear();
    setErrorPresenter([this](QWidget*, const QString& text) { messages_ << text; });
    asked_.clear();
    setConfirmPresenter([this](QWidget*, const Confirmation& question) {
      asked_ << question;
      return true;
    });
    dev_ = ProductDevice{};
  }
  void cleanup() {
    w_.reset();
    seams_.reset();
    dir_.reset();
    setFileChooser(nullptr);
    setConfirmPresenter(nullptr);
  }

  void controlsAndCaptions() {
    open();
    const std::pair<const char*, const char*> buttons[] = {
        {"GetHDProd", "Get All Struct"}, {"GetProg", "Get All Product"},
        {"GetSelProd", "Get Sel Prod"},  {"SetSelProd", "Set Sel Prod"},
        {"MkNewProd", "Mk New Prod"},    {"SetAuto", "Save All ->Device"},
        {"ExpProd", "Save Product"},     {"InpProd", "Read Prod"}};
    for (const auto& [name, caption] : buttons) QCOMPARE(find<QPushButton>(name)->text(), caption);
    QCOMPARE(find<QGroupBox>("GroupProgFile")->title(), QString("Group File"));
    QCOMPARE(find<QLineEdit>("HedProg")->text(), QString("HedProg"));
    QCOMPARE(find<QLineEdit>("HelpParProd")->text(), QString("HelpPar"));
    QCOMPARE(find<QLineEdit>("RangeParProd")->text(), QString("RangePar"));
    QVERIFY(find<QLineEdit>("RangeParProd")->font().bold());
    QCOMPARE(find<QComboBox>("ListBoxProd")->placeholderText(), QString("ListTabs"));
    QVERIFY(find<QPlainTextEdit>("Memo9"));
    QVERIFY(!find("PanelProd")->isVisible());
  }

  void loadShowsTheListAndProductZero() {
    loadAll();
    QVERIFY(find("PanelProd")->isVisible());
    auto* list = find<QComboBox>("ListBoxProd");
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->itemText(1), QString("500; P002; "));
    QCOMPARE(list->currentIndex(), 0);
    QCOMPARE(list->toolTip(), QString("Produtos da linha"));
    QCOMPARE(find<QLineEdit>("HedProg")->text(), QString("Nº Prod: 3"));
    auto* grid = find<ValueGrid>("ProdGrid");
    QCOMPARE(grid->rowCount(), 6);
    QCOMPARE(cell(0, 0), QString("Numero"));
    QCOMPARE(cell(5, 0), QString("Descricao"));
    QCOMPARE(cell(1), QString("1000"));
    QCOMPARE(cell(5), QString("Arroz 1 kg"));
    QCOMPARE(grid->toolTip(), QString("1000; P001; "));
    QCOMPARE(find<QLineEdit>("HelpParProd")->text(), QString("numero do produto"));
    QCOMPARE(find<QLabel>("ProdProgress")->text(), QString());
    // Choosing another product shows it, with the help of the row chosen.
    list->setCurrentIndex(2);
    emit list->activated(2);
    grid->setCurrentCell(1, 1);
    w_->repaintNow();
    QCOMPARE(cell(0), QString("2"));
    QCOMPARE(cell(1), QString("2000"));
    QCOMPARE(find<QLineEdit>("RangeParProd")->text(), QString("DEF: 500 *g [1 - 60000]"));
  }

  void anEditedCellIsWrittenBySetSelProd() {
    loadAll();
    typeInto(1, "1234");
    typeInto(5, "Arroz integral");
    dev_.requests.clear();
    click("SetSelProd");
    serve();
    QCOMPARE(dev_.numbers(31), std::vector<int>{0});
    QCOMPARE(dev_.products[0].ints[0], 1234u);
    QCOMPARE(dev_.products[0].texts[1], std::string("Arroz integral"));
    QCOMPARE(find<QComboBox>("ListBoxProd")->itemText(0), QString("1234; P001; "));
    QCOMPARE(find<QLabel>("ProdProgress")->text(), QString("Product 0 written"));
    QVERIFY(messages_.isEmpty());
  }

  void aRefusedCellTurnsRed() {
    loadAll();
    auto* grid = find<ValueGrid>("ProdGrid");
    const QColor plain = grid->item(2, 1)->background().color();
    typeInto(2, "70000");  // TolNeg takes 0 .. 1000
    click("SetSelProd");
    serve();
    QCOMPARE(cell(2), QString("10"));  // the stored value again
    QCOMPARE(grid->item(2, 1)->background().color(), QColor(255, 160, 160));
    QVERIFY(grid->item(1, 1)->background().color() == plain);
    QVERIFY(find<QLabel>("ProdProgress")->text().contains("TolNeg: 70000 is outside 0 .. 1000"));
    // A word in a number cell: the standard error message, nothing sent.
    dev_.requests.clear();
    typeInto(3, "abc");
    click("SetSelProd");
    serve();
    QCOMPARE(messages_, QStringList{"'abc' is not a valid integer value"});
    QVERIFY(dev_.requests.empty());
    QCOMPARE(grid->item(3, 1)->background().color(), QColor(255, 160, 160));
  }

  void mkNewProdPreparesTheNextProduct() {
    loadAll();
    click("MkNewProd");
    auto* list = find<QComboBox>("ListBoxProd");
    QCOMPARE(list->count(), 4);
    QCOMPARE(list->currentIndex(), 3);
    QCOMPARE(cell(0), QString("3"));
    QCOMPARE(cell(1), QString("500"));
    QCOMPARE(cell(4), QString("Codigo"));
    typeInto(4, "P004");
    click("SetSelProd");
    serve();
    QCOMPARE(dev_.products.size(), size_t(4));
    QCOMPARE(dev_.products[3].texts[0], std::string("P004"));
  }

  void saveAllAsksAndWritesEveryProduct() {
    loadAll();
    dev_.requests.clear();
    click("SetAuto");
    serve();
    QCOMPARE(asked_.size(), 1);
    QCOMPARE(dev_.numbers(31), (std::vector<int>{0, 1, 2}));
    QCOMPARE(find<QLabel>("ProdProgress")->text(), QString("3 products written"));
  }

  void theFileGoesThroughTheDialogs() {
    loadAll();
    const QString path = dir_->filePath("prod.csv");
    QList<FileDialogRequest> requests;
    setFileChooser([&](QWidget*, const FileDialogRequest& request) -> std::optional<QString> {
      requests << request;
      return path;
    });
    click("ExpProd");
    device().products.store().setIntField(0, 1, 1);
    click("InpProd");
    QCOMPARE(requests.size(), 2);
    QCOMPARE(requests[0].title, QString("Save the products"));
    QCOMPARE(requests[1].title, QString("Load the products"));
    QCOMPARE(requests[1].filters.first(), QString("txt (*.txt)"));
    const QStringList memo = find<QPlainTextEdit>("Memo9")->toPlainText().split('\n');
    QCOMPARE(memo.last(), QString("Nº Prod Device: 3 Nº Prod File: 3"));
    QCOMPARE(device().products.store().intField(0, 1), 1000u);
    QCOMPARE(cell(1), QString("1000"));
  }

  // The line simulator's box: its controls, the chosen product's code as the
  // serial prefix, a prefix that is no number getting no check digit, the
  // second reader hidden, AutoFill, the injected weight, Button5 of the QX3
  // panel, and the box gone below level 4.
  void simBoxInjectsAndFills() {
    dev_.capacity = 5;
    loadAll();
    QVERIFY(find("SimBox")->isVisible());
    QCOMPARE(find<QGroupBox>("SimBox")->title(), QString("SimBox"));
    for (const char* name : {"SetBar0", "SetBar1"})
      QCOMPARE(find<QPushButton>(name)->text(), QString("SetBarCode"));
    QCOMPARE(find<QLineEdit>("BarCode0")->text(), QString("BarCode"));
    QCOMPARE(find<QCheckBox>("CheckBox1")->text(), QString("2nd Barcode"));
    QVERIFY(find<QCheckBox>("CheckBox1")->isChecked());
    QCOMPARE(find<QCheckBox>("BCCOn")->text(), QString("BCC On"));
    auto* lenSer = find<QSpinBox>("LenSer");
    QCOMPARE(std::make_tuple(lenSer->minimum(), lenSer->maximum(), lenSer->value()),
             std::make_tuple(0, 10, 8));
    auto* peso = find<QSpinBox>("PesoSet");
    QCOMPARE(std::make_tuple(peso->minimum(), peso->maximum(), peso->value()),
             std::make_tuple(0, 20000, 1000));

    auto* list = find<QComboBox>("ListBoxProd");
    list->setCurrentIndex(1);
    emit list->activated(1);
    w_->repaintNow();
    QCOMPARE(find<QLineEdit>("Edit1")->text(), QString("P002"));
    QCOMPARE(find<QLineEdit>("Edit3")->text(), QString("Feijao 500 g"));
    find<QCheckBox>("SeqSer")->setChecked(true);
    find<QCheckBox>("BCCOn")->setChecked(true);
    lenSer->setValue(2);
    click("SetBar0");
    QCOMPARE(find<QLineEdit>("BarCode0")->text(), QString("P00201"));
    QCOMPARE(find<QLabel>("SimBoxMessage")->text(),
             QString("No check digit: the code has a character that is not a digit"));
    QLineEdit* edit1 = find<QLineEdit>("Edit1");
    edit1->selectAll();
    QTest::keyClicks(edit1, "1010");
    click("SetBar0");
    QCOMPARE(find<QLineEdit>("BarCode0")->text(), QString("1010022"));
    QVERIFY(find<QLabel>("SimBoxMessage")->text().isEmpty());
    QCOMPARE(device().channel.queue().size(), size_t(2));
    QCOMPARE(*device().channel.queue().head(), 30);

    find<QCheckBox>("CheckBox1")->setChecked(false);
    w_->repaintNow();
    QVERIFY(!find("BarCode1")->isVisible());
    QVERIFY(!find("SetBar1")->isVisible());
    QVERIFY(!device().lineSimulator.controls.checkBox1);

    device().channel.clearQueue();
    click("SetPeso");
    QCOMPARE(*device().channel.queue().head(), 19);
    click("AutoFill");
    QCOMPARE(list->count(), 5);
    QCOMPARE(list->itemText(4), QString("Desc4"));
    QCOMPARE(device().products.store().textField(3, 0), std::string("10100039"));
    device().channel.clearQueue();
    click("SetEEprom");
    QCOMPARE(*device().channel.queue().head(), 32);

    device().channel.clearQueue();
    auto* button5 = find<QPushButton>("Button5");
    QVERIFY(button5->isEnabled());
    QTest::mouseClick(button5, Qt::LeftButton);
    QCOMPARE(*device().channel.queue().head(), 30);

    device().access.setLevel(3);
    device().access.apply();
    w_->repaintNow();
    QVERIFY(!find("SimBox")->isVisible());
    QVERIFY(find("SimBox")->isHidden());
  }

  // The page as a user sees it, saved for a look when VANTOR_SCREENSHOTS names a folder.
  void pageFitsAndCanBeSeen() {
    loadAll();
    w_->resize(1024, 600);
    w_->repaintNow();
    const QImage shot = w_->grab().toImage();
    QVERIFY(!shot.isNull());
    if (const QByteArray folder = qgetenv("VANTOR_SCREENSHOTS"); !folder.isEmpty())
      QVERIFY(shot.save(QString::fromLocal8Bit(folder) + "/produto.png"));
    // The list and the file group lie inside the page, beside the grid.
    QWidget* page = find("TabProduto");
    for (const char* name : {"ListBoxProd", "MkNewProd", "GroupProgFile", "Memo9", "SimBox"}) {
      QWidget* widget = find(name);
      const QRect r(widget->mapTo(page, QPoint(0, 0)), widget->size());
      QVERIFY2(page->rect().contains(r), name);
    }
  }
};

QTEST_MAIN(TestProductsPage)
#include "tst_products_page.moc"
