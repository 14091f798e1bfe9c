// The "System" and "SystemBin" pages with fake sockets and a hand-written
// table device: the controls and their captions, reading all tables into the
// list and the grid, a typed cell that survives a refresh and is sent by
// "Save Tab", the save buttons by access level, the table file through the
// file dialog, and the configuration blocks read, edited, refused and loaded.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "app/data_dir.h"
#include "app/settings_file.h"
#include "config/config_block.h"
#include "fakes.h"
#include "table_device.h"
#include "ui/confirm.h"
#include "ui/file_choice.h"
#include "ui/guarded.h"
#include "ui/tqxvantor.h"
#include "ui/value_grid.h"
#include "ui/window_settings.h"
#include "window_fixture.h"

using namespace vantor;
using vantor::test::FakeSeams;
using vantor::test::FakeSocket;
using vantor::test::putLe32;
using vantor::test::replyFrame;
using vantor::test::TableDevice;
using vantor::test::WindowFixture;

namespace {
uint32_t le32(const Bytes& b, size_t at) {
  return static_cast<uint32_t>(b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16) |
         static_cast<uint32_t>(b.at(at + 3)) << 24;
}
// How a test ends the edit of a grid cell.
enum class EditEnd { Escape, Enter, Tab, ClickOtherCell, ClickSave };
const char* endName(EditEnd end) {
  switch (end) {
    case EditEnd::Escape:
      return "Escape";
    case EditEnd::Enter:
      return "Enter";
    case EditEnd::Tab:
      return "Tab";
    case EditEnd::ClickOtherCell:
      return "click on another cell";
    case EditEnd::ClickSave:
      return "click on the save button";
  }
  return "";
}

}  // namespace

class TestConfigPages : public QObject, public WindowFixture {
  Q_OBJECT

 private:
  TableDevice dev_;
  QStringList messages_;
  QList<Confirmation> asked_;  // every question a button asked
  bool goAhead_ = true;        // the answer to it

  // Sends what the clicks queued; the table device answers it and what it chains.
  void serve() {
    while (!(device().channel.queue().size() == 0) || !lan2().writes.empty()) {
      device().channel.sendNextCmd();
      dev_.serve(lan2());
    }
    w_->repaintNow();
  }
  // A check box is clicked on its indicator, wherever its layout puts the text.
  void clickBox(const char* name) {
    auto* box = find<QCheckBox>(name);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
  }
  void login(const char* password) {
    device().access.passwordDialogClosed(password);
    w_->repaintNow();
  }
  void readAll(const char* host = "127.0.0.9") {
    w_->pages()->setCurrentWidget(find("System2"));
    connectMain(host);
    click("GetAllPar");
    serve();
  }
  // Ends an edit with Return; the grid takes the text in on the next turn of the event loop.
  void commit(QLineEdit* editor) {
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
  }
  // Opens the editor of a value cell and types `text` into it.
  QLineEdit* typeInto(ValueGrid* grid, int row, const QString& text) {
    grid->setCurrentCell(row, 1);
    grid->editItem(grid->item(row, 1));
    auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->model()->index(row, 1)));
    if (!editor) return nullptr;
    editor->selectAll();
    QTest::keyClicks(editor, text);
    return editor;
  }

  // The two grids under test: the parameter table "Pesagem" on the System page
  // (row 1 shows 7 and takes 0 to 50, saved by "Save Tab") and the Sys block on the SystemBin
  // page (row 3 shows 3, written by SetSys).
  struct GridUnderTest {
    const char* grid;
    const char* save;
    int row;
    uint32_t shown;      // what the edited row shows before the edit
    uint32_t refreshed;  // what it holds after refreshFromCore()
  };
  static GridUnderTest gridUnderTest(const QString& name) {
    if (name == QLatin1String("GridParTabs")) return {"GridParTabs", "SavePar", 1, 7, 9};
    return {"SysPar", "SetSys", 3, 3, 103};
  }
  static Bytes sysBlock(uint32_t offset) {
    Bytes block;
    for (uint32_t v = 0; v < 30; ++v) putLe32(block, v + offset);
    return block;
  }
  // Opens the window with the grid filled from the device and its save button usable.
  ValueGrid* showGrid(const GridUnderTest& g) {
    openWindow();
    w_->activateWindow();  // an editor loses its focus only in the active window
    if (!QTest::qWaitForWindowActive(w_.get())) return nullptr;
    if (QLatin1String(g.grid) == QLatin1String("GridParTabs")) {
      readAll();
      login("two");
    } else {
      login("Velmor");
      w_->pages()->setCurrentWidget(find("System"));
      connectMain("127.0.0.9");
      ask(52, sysBlock(0));
      w_->repaintNow();
    }
    return find<ValueGrid>(g.grid);
  }
  // The text the core holds for the row of the grid.
  std::string coreCell(const GridUnderTest& g) {
    if (QLatin1String(g.grid) == QLatin1String("GridParTabs"))
      return device().parTables.controls.gridParTabs.at(size_t(g.row)).value;
    return device().configBlocks.controls.cells[index(BlockId::Sys)].at(size_t(g.row));
  }
  // The device sends new values for every row of the grid.
  void refreshFromCore(const GridUnderTest& g) {
    if (QLatin1String(g.grid) == QLatin1String("GridParTabs")) {
      device().parTables.store().table(0).params[0].value = 600;
      device().parTables.store().table(0).params[1].value = 9;
      device().parTables.showTable(0);
    } else {
      ask(52, sysBlock(100));
    }
    w_->repaintNow();
  }
  // The parameter bytes of the write that saving the grid must send, with
  // `value` in the edited row.
  static Bytes expectedWrite(const GridUnderTest& g, uint32_t value, bool refreshed) {
    Bytes out;
    if (QLatin1String(g.grid) == QLatin1String("GridParTabs")) {
      out.push_back(0);  // table 0
      putLe32(out, refreshed ? 600 : 500);
      putLe32(out, value);
      putLe32(out, 4294967295u);
      return out;
    }
    out = sysBlock(refreshed ? 100 : 0);
    Bytes v;
    putLe32(v, value);
    std::copy(v.begin(), v.end(), out.begin() + 4 * g.row);
    return out;
  }
  // Clicks the grid's save button and returns the parameter bytes of the write it sent.
  Bytes saveGrid(const GridUnderTest& g) {
    dev_.requests.clear();
    lan2().writes.clear();
    click(g.save);
    if (QLatin1String(g.grid) == QLatin1String("GridParTabs")) {
      serve();
      const std::vector<int> writes = dev_.tableWrites();
      if (writes != std::vector<int>{0}) return {};
      for (const auto& [code, params] : dev_.requests)
        if (code == 63) return params;
      return {};
    }
    device().channel.sendNextCmd();
    const Bytes request = lan2().takeWrite();
    if (request.size() < 11 || request.at(7) != 11) return {};
    w_->repaintNow();
    return Bytes(request.begin() + 8, request.end() - 3);
  }
  static QByteArray toHex(const Bytes& b) {
    return QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size())).toHex(' ');
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    seams_ = std::make_unique<FakeSeams>();
    messages_.clear();
    setErrorPresenter([this](QWidget*, const QString& text) { messages_ << text; });
    asked_.clear();
    goAhead_ = true;
    setConfirmPresenter([this](QWidget*, const Confirmation& question) {
      asked_ << question;
      return goAhead_;
    });
    dev_ = TableDevice{};
    dev_.tables = {
        {"Pesagem",
         0,
         {{"Alvo", "peso alvo", "g", 10, 5000, 500, 500},
          {"Tolerancia", "tolerancia", "g", 0, 50, 5, 7},
          {"Maximo", "maximo absoluto", "g", 0, 4294967295u, 4294967295u, 4294967295u}}},
        {"Vazia", 1, {}},
        {"Servico", 2, {{"Modo", "modo", "", 0, 3, 1, 2}}},
    };
  }
  void cleanup() {
    w_.reset();
    seams_.reset();
    dir_.reset();
    setFileChooser(nullptr);
    setConfirmPresenter(nullptr);
  }

  void controlsAndCaptions() {
    openWindow();
    const std::pair<const char*, const char*> buttons[] = {
        {"GetAllPar", "Read All"},      {"GetTab", "Read Tab"},
        {"SavePar", "Save Tab"},        {"SaveDef", "Save Def"},
        {"SaveAllDef", "Save All Def"}, {"SaveFileAll", "Save File"},
        {"ReadFilePar", "Read File"},   {"SaveAllPar", "Save All ->Device"},
        {"SaveParFile", "SaveParFile"}, {"GetParFile", "GetParFile"},
        {"SetAllPar", "SetAllPar"},     {"GetPesoOn", "GetPesoOn"}};
    for (const auto& [name, caption] : buttons)
      QCOMPARE(find<QPushButton>(name)->text(), QString::fromUtf8(caption));
    for (const BlockLayout& b : blockLayouts()) {
      QCOMPARE(find<QPushButton>(b.getButton)->text(), QString::fromLatin1(b.getButton));
      QCOMPARE(find<QPushButton>(b.setButton)->text(), QString::fromLatin1(b.setButton));
      auto* grid = find<ValueGrid>(b.grid);
      QCOMPARE(grid->columnCount(), 2);
      QCOMPARE(size_t(grid->rowCount()), b.rowNames.size());
      for (int r = 0; r < grid->rowCount(); ++r) {
        QCOMPARE(grid->item(r, 0)->text(), QString::fromUtf8(b.rowNames[size_t(r)]));
        QVERIFY(!(grid->item(r, 0)->flags() & Qt::ItemIsEditable));
        QVERIFY(grid->item(r, 1)->flags() & Qt::ItemIsEditable);
      }
      // Every row is in sight without scrolling.
      QVERIFY2(
          grid->height() >= grid->rowViewportPosition(grid->rowCount() - 1) + grid->rowHeight(0),
          b.grid);
    }
    QCOMPARE(find<ValueGrid>("SysPar")->rowHeight(0), 16);
    QCOMPARE(find<ValueGrid>("SorterPar")->rowHeight(0), 20);
    QCOMPARE(find("CommPar")->toolTip(), QStringLiteral("Parâmetros comunicação"));
    QCOMPARE(find("GetComm")->toolTip(), QStringLiteral("Le parâmetros comunicação"));
    QCOMPARE(find<QGroupBox>("BkBox")->title(), QStringLiteral("BkBox"));
    QCOMPARE(find<QGroupBox>("GroupFile")->title(), QStringLiteral("Group File"));
    QCOMPARE(find<QCheckBox>("DefOn")->text(), QStringLiteral("Def On"));
    QCOMPARE(find<QComboBox>("ListTabs")->placeholderText(), QStringLiteral("ListTabs"));
    QCOMPARE(find<QLineEdit>("HelpPar")->text(), QStringLiteral("HelpPar"));
    QCOMPARE(find<QLineEdit>("RangePar")->text(), QStringLiteral("RangePar"));
    QVERIFY(find<QLineEdit>("RangePar")->font().bold());
    QCOMPARE(find<QLineEdit>("RangePar")->font().pixelSize(), 16);
    QCOMPARE(find<ValueGrid>("GridParTabs")->font().family(), QStringLiteral("Courier New"));
    QCOMPARE(find<ValueGrid>("GridParTabs")->columnWidth(0), 160);
    // Before the first table list.
    for (const char* hidden : {"PanelSave", "GroupFile", "SaveDef", "SaveAllDef"})
      QVERIFY2(find(hidden)->isHidden(), hidden);
  }

  void readAllFillsTheListAndTheGrid() {
    openWindow();
    readAll();
    QVERIFY(messages_.isEmpty());
    auto* list = find<QComboBox>("ListTabs");
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->itemText(2), QStringLiteral("Servico"));
    QCOMPARE(list->currentIndex(), 0);
    auto* grid = find<ValueGrid>("GridParTabs");
    QCOMPARE(grid->rowCount(), 3);
    QCOMPARE(grid->item(1, 0)->text(), QStringLiteral("Tolerancia"));
    QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("7"));
    QCOMPARE(grid->item(2, 1)->text(), QStringLiteral("4294967295"));
    QCOMPARE(grid->toolTip(), QStringLiteral("Pesagem"));
    QCOMPARE(find<QLabel>("LabelTabSgn")->text(), QStringLiteral("OPERATIONAL USER"));
    QCOMPARE(find<QLineEdit>("HelpPar")->text(), QStringLiteral("peso alvo"));
    QCOMPARE(find<QLineEdit>("RangePar")->text(), QStringLiteral("DEF: 500 g [10 - 5000]"));
    QCOMPARE(find<QLabel>("ParProgress")->text(), QString());
    QVERIFY(!find("PanelSave")->isHidden());
    QVERIFY(!find("GroupFile")->isHidden());

    // Choosing a row shows its help and range; choosing a table shows it.
    grid->setCurrentCell(2, 1);
    w_->repaintNow();
    QCOMPARE(find<QLineEdit>("RangePar")->text(), QStringLiteral("DEF: -1 g [0 - -1]"));
    list->setCurrentIndex(2);
    emit list->activated(2);
    w_->repaintNow();
    QCOMPARE(grid->rowCount(), 1);
    QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("Modo"));
    QCOMPARE(find<QLabel>("LabelTabSgn")->text(), QStringLiteral("SERVICE USER"));
  }

  // A refresh leaves the open editor alone, and "Save Tab" sends the typed
  // value with its neighbours.
  void aTypedCellSurvivesARefreshAndIsSaved() {
    openWindow();
    readAll();
    login("two");  // the device's code of level 2
    QCOMPARE(device().access.level(), 2);
    auto* grid = find<ValueGrid>("GridParTabs");
    QLineEdit* editor = typeInto(grid, 1, QStringLiteral("42"));
    QVERIFY(editor);
    // The core hears the text when the edit ends.
    QCOMPARE(device().parTables.controls.gridParTabs.at(1).value, std::string("7"));
    // A re-read brings another value for that row while it is being typed.
    device().parTables.store().table(0).params[1].value = 9;
    device().parTables.store().table(0).params[0].value = 600;
    device().parTables.showTable(0);
    w_->repaintNow();
    QCOMPARE(editor->text(), QStringLiteral("42"));
    QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("600"));  // the other rows are refreshed
    commit(editor);
    QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("42"));
    QCOMPARE(device().parTables.controls.gridParTabs.at(1).value, std::string("42"));

    dev_.requests.clear();
    click("SavePar");
    serve();
    QVERIFY(messages_.isEmpty());
    QCOMPARE(dev_.tableWrites(), std::vector<int>{0});
    const Bytes& sent = dev_.requests.at(0).second;
    QCOMPARE(sent.size(), size_t(1 + 3 * 4));
    QCOMPARE(le32(sent, 1), 600u);
    QCOMPARE(le32(sent, 5), 42u);
    QCOMPARE(le32(sent, 9), 4294967295u);
    QCOMPARE(dev_.tables[0].params[1].value, 42u);

    // A cell that is not a number: the window's error message, nothing sent.
    commit(typeInto(grid, 0, QStringLiteral("abc")));
    dev_.requests.clear();
    click("SavePar");
    QCOMPARE(messages_.size(), 1);
    QVERIFY2(messages_[0].contains(QStringLiteral("abc")), qPrintable(messages_[0]));
    QVERIFY((device().channel.queue().size() == 0));
  }

  // However an edit ends, the core holds either the typed text or the old one,
  // never a part of the edit, and the save button sends exactly what the cell
  // then shows.
  void anEditReachesTheCoreOnlyWhenItEnds_data() {
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("end");
    QTest::addColumn<bool>("committed");
    const std::pair<const char*, const char*> grids[] = {{"GridParTabs", "42"}, {"SysPar", "999"}};
    const std::pair<EditEnd, bool> ends[] = {{EditEnd::Escape, false},
                                             {EditEnd::Enter, true},
                                             {EditEnd::Tab, true},
                                             {EditEnd::ClickOtherCell, true},
                                             {EditEnd::ClickSave, true}};
    for (const auto& [grid, typed] : grids)
      for (const auto& [end, committed] : ends)
        QTest::addRow("%s %s", grid, endName(end))
            << QString::fromLatin1(grid) << QString::fromLatin1(typed) << int(end) << committed;
  }
  void anEditReachesTheCoreOnlyWhenItEnds() {
    QFETCH(QString, grid);
    QFETCH(QString, typed);
    QFETCH(int, end);
    QFETCH(bool, committed);
    const GridUnderTest g = gridUnderTest(grid);
    ValueGrid* view = showGrid(g);
    QVERIFY(view);
    const QString shown = QString::number(g.shown);
    QCOMPARE(view->item(g.row, 1)->text(), shown);

    QLineEdit* editor = typeInto(view, g.row, typed);
    QVERIFY(editor);
    QCOMPARE(editor->text(), typed);
    QCOMPARE(coreCell(g), shown.toStdString());  // nothing of it while typing

    switch (EditEnd(end)) {
      case EditEnd::Escape:
        QTest::keyClick(editor, Qt::Key_Escape);
        break;
      case EditEnd::Enter:
        QTest::keyClick(editor, Qt::Key_Return);
        break;
      case EditEnd::Tab:
        QTest::keyClick(editor, Qt::Key_Tab);
        break;
      case EditEnd::ClickOtherCell: {
        const QRect other = view->visualItemRect(view->item(g.row + 1, 1));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, other.center());
        break;
      }
      case EditEnd::ClickSave:
        break;  // the click on the save button below ends it
    }
    QCoreApplication::processEvents();
    const QString kept = committed ? typed : shown;
    if (EditEnd(end) != EditEnd::ClickSave) {
      QVERIFY(view->indexWidget(view->model()->index(g.row, 1)) == nullptr);
      QCOMPARE(view->item(g.row, 1)->text(), kept);
      QCOMPARE(coreCell(g), kept.toStdString());
    }
    if (EditEnd(end) == EditEnd::Tab)  // on to the value of the next row
      QCOMPARE(view->currentIndex(), view->model()->index(g.row + 1, 1));

    const Bytes sent = saveGrid(g);
    QVERIFY(messages_.isEmpty());
    QCOMPARE(toHex(sent), toHex(expectedWrite(g, kept.toUInt(), false)));
    QCOMPARE(view->item(g.row, 1)->text(), kept);
  }

  // Values that arrive while a cell is edited leave its editor alone; an edit
  // that is cancelled, or ends with nothing typed, then shows what arrived,
  // and that is what the save button sends.
  void aRefreshDuringAnEdit_data() {
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("end");
    QTest::addColumn<bool>("committed");
    for (const char* grid : {"GridParTabs", "SysPar"}) {
      const QString name = QString::fromLatin1(grid);
      QTest::addRow("%s typed, Escape", grid)
          << name << QStringLiteral("42") << int(EditEnd::Escape) << false;
      QTest::addRow("%s typed, Enter", grid)
          << name << QStringLiteral("42") << int(EditEnd::Enter) << true;
      QTest::addRow("%s nothing typed, Enter", grid)
          << name << QString() << int(EditEnd::Enter) << false;
    }
  }
  void aRefreshDuringAnEdit() {
    QFETCH(QString, grid);
    QFETCH(QString, typed);
    QFETCH(int, end);
    QFETCH(bool, committed);
    const GridUnderTest g = gridUnderTest(grid);
    ValueGrid* view = showGrid(g);
    QVERIFY(view);
    QLineEdit* editor = typeInto(view, g.row, typed);
    QVERIFY(editor);
    const QString inEditor = editor->text();
    refreshFromCore(g);
    QCOMPARE(editor->text(), inEditor);
    QCOMPARE(view->item(g.row - 1, 1)->text(),
             QString::number(grid == QLatin1String("SysPar") ? 102 : 600));
    QCOMPARE(coreCell(g), std::to_string(g.refreshed));

    QTest::keyClick(editor, EditEnd(end) == EditEnd::Escape ? Qt::Key_Escape : Qt::Key_Return);
    QCoreApplication::processEvents();
    const QString kept = committed ? typed : QString::number(g.refreshed);
    QCOMPARE(view->item(g.row, 1)->text(), kept);
    QCOMPARE(coreCell(g), kept.toStdString());
    QCOMPARE(toHex(saveGrid(g)), toHex(expectedWrite(g, kept.toUInt(), true)));
  }

  void saveButtonsFollowTheTableLevelAndTheAccessLevel() {
    openWindow();
    readAll();
    auto* list = find<QComboBox>("ListTabs");
    list->setCurrentIndex(2);
    emit list->activated(2);  // level 2: needs level 3
    struct Case {
      const char* password;
      int level;
      bool panel, savePar, saveAllDef;
    };
    const Case cases[] = {{"one", 1, false, false, false},
                          {"two", 2, true, false, false},
                          {"three", 3, true, true, true},
                          {"Velmor", 4, true, true, true}};
    login("two");  // "Def On" sits in PanelSave, which needs level 2
    clickBox("DefOn");
    w_->repaintNow();
    QVERIFY(device().parTables.controls.defOn);
    device().access.FormDblClick();
    for (const Case& c : cases) {
      login(c.password);
      QCOMPARE(int(device().access.level()), c.level);
      QCOMPARE(find("PanelSave")->isEnabled(), c.panel);
      QCOMPARE(find("SavePar")->isEnabled(), c.savePar);
      QCOMPARE(find("SaveDef")->isEnabled(), c.savePar);
      QCOMPARE(find("SaveAllDef")->isEnabled(), c.saveAllDef);
      QCOMPARE(!find("SaveAllPar")->isHidden(), c.level >= 3);
      QVERIFY(!find("SaveDef")->isHidden());
      device().access.FormDblClick();  // log out
    }
    login("two");
    clickBox("DefOn");
    w_->repaintNow();
    QVERIFY(find("SaveDef")->isHidden());
    QVERIFY(find("SaveAllDef")->isHidden());
  }

  void theTableFileGoesThroughTheDialogs() {
    openWindow();
    readAll();
    login("three");
    const QString path = dir_->filePath(QStringLiteral("tabelas"));  // no extension is added
    std::vector<FileDialogKind> asked;
    setFileChooser([&](QWidget*, const FileDialogRequest& request) -> std::optional<QString> {
      asked.push_back(request.mode);
      return path;
    });
    QVERIFY(!find("SaveAllPar")->isEnabled());
    click("SaveFileAll");
    QVERIFY(QFileInfo::exists(path));
    device().parTables.store().table(0).params[1].value = 0;  // loading puts it back
    click("ReadFilePar");
    QCOMPARE(asked, (std::vector<FileDialogKind>{FileDialogKind::Save, FileDialogKind::Open}));
    const QString memo = find<QPlainTextEdit>("Memo7")->toPlainText();
    QVERIFY2(memo.startsWith(QStringLiteral("Version OK\n0 Pesagem\n1 Vazia\n2 Servico")),
             qPrintable(memo));
    QVERIFY(!memo.contains(QStringLiteral("not found")));
    QCOMPARE(find<ValueGrid>("GridParTabs")->item(1, 1)->text(), QStringLiteral("7"));
    QVERIFY(find("SaveAllPar")->isEnabled());

    // A cancelled dialog leaves everything as it is.
    setFileChooser(
        [](QWidget*, const FileDialogRequest&) -> std::optional<QString> { return std::nullopt; });
    click("ReadFilePar");
    QCOMPARE(find<QPlainTextEdit>("Memo7")->toPlainText(), memo);
    QVERIFY(find("SaveAllPar")->isEnabled());
  }

  // Each button that overwrites the device or restarts it asks first, naming
  // what is overwritten and how much; only going ahead queues its commands.
  void destructiveButtonsAskFirst_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("goAhead");
    QTest::addColumn<QStringList>("named");  // what the question must say
    QTest::addColumn<QList<int>>("queued");  // the commands of going ahead
    const QString tables = QStringLiteral(
        "all 4 parameters of the device's 3 parameter tables (Pesagem, Vazia, Servico)");
    struct Row {
      const char* button;
      QStringList named;
      QList<int> queued;
    };
    const Row rows[] = {
        {"Reset", {QStringLiteral("127.0.0.150"), QStringLiteral("Restarts")}, {82}},
        {"SaveAllDef", {tables, QStringLiteral("default")}, {63}},
        {"SaveAllPar", {tables, QStringLiteral("tabelas.txt")}, {63}},
        {"SetAllPar",
         {QStringLiteral("all 6 configuration blocks"),
          QStringLiteral("CommPar, ZeroPar, ProdPar, Ad104Par, SysPar, SorterPar"),
          QStringLiteral("85 values")},
         {23, 37, 25, 15, 11, 46}},
    };
    for (const Row& r : rows)
      for (bool go : {true, false})
        QTest::addRow("%s %s", r.button, go ? "go ahead" : "cancelled")
            << QString::fromLatin1(r.button) << go << r.named << r.queued;
  }
  void destructiveButtonsAskFirst() {
    QFETCH(QString, button);
    QFETCH(bool, goAhead);
    QFETCH(QStringList, named);
    QFETCH(QList<int>, queued);
    openWindow();
    login("Velmor");
    readAll("127.0.0.150");
    if (button == QLatin1String("SaveAllDef")) {
      clickBox("DefOn");
      w_->repaintNow();
    } else if (button == QLatin1String("SaveAllPar")) {
      const QString path = dir_->filePath(QStringLiteral("tabelas.txt"));
      setFileChooser(
          [&](QWidget*, const FileDialogRequest&) -> std::optional<QString> { return path; });
      click("SaveFileAll");
      click("ReadFilePar");
    } else if (button == QLatin1String("SetAllPar")) {
      w_->pages()->setCurrentWidget(find("System"));
    }
    device().channel.clearQueue();
    dev_.requests.clear();
    asked_.clear();
    goAhead_ = goAhead;

    click(button.toLatin1().constData());
    QCOMPARE(asked_.size(), 1);
    const Confirmation& question = asked_.front();
    QVERIFY(!question.title.isEmpty());
    QVERIFY(!question.proceed.isEmpty());
    for (const QString& part : named)
      QVERIFY2(question.text.contains(part), qPrintable(question.text + " lacks " + part));
    QList<int> codes;
    for (size_t i = 0; i < device().channel.queue().size(); ++i)
      codes << device().channel.queue().at(i);
    QCOMPARE(codes, goAhead ? queued : QList<int>{});

    if (button == QLatin1String("SaveAllDef") || button == QLatin1String("SaveAllPar")) {
      serve();
      const std::vector<int> written = goAhead ? std::vector<int>{0, 1, 2} : std::vector<int>{};
      QCOMPARE(dev_.tableWrites(), written);
      // "Save All Def" puts the defaults into the tables only when it goes ahead.
      const uint32_t tolerancia = button == QLatin1String("SaveAllDef") && goAhead ? 5 : 7;
      QCOMPARE(dev_.tables[0].params[1].value, tolerancia);
      QCOMPARE(device().parTables.store().table(0).params[1].value, tolerancia);
    }
  }

  // Each file dialog says what it saves or loads, offers "All files" beside
  // the design's filters, and starts in the folder last used for its kind of
  // file, also in the next run; a folder that is gone gives the current one.
  void fileDialogsSayWhatAndStartWhereTheyWereLastUsed_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("otherKind");  // a button of the other kind of file
    QTest::addRow("SaveFileAll") << "SaveFileAll" << int(FileDialogKind::Save)
                                 << "Save the parameter tables"
                                 << "GetParFile";
    QTest::addRow("ReadFilePar") << "ReadFilePar" << int(FileDialogKind::Open)
                                 << "Load the parameter tables"
                                 << "SaveParFile";
    QTest::addRow("SaveParFile") << "SaveParFile" << int(FileDialogKind::Save)
                                 << "Save a block backup"
                                 << "ReadFilePar";
    QTest::addRow("GetParFile") << "GetParFile" << int(FileDialogKind::Open)
                                << "Load a block backup"
                                << "SaveFileAll";
  }
  void fileDialogsSayWhatAndStartWhereTheyWereLastUsed() {
    QFETCH(QString, button);
    QFETCH(int, mode);
    QFETCH(QString, title);
    QFETCH(QString, otherKind);
    const QString folder = dir_->filePath(QStringLiteral("chosen folder"));
    QVERIFY(QDir().mkpath(folder));
    QList<FileDialogRequest> requests;
    setFileChooser([&](QWidget*, const FileDialogRequest& request) -> std::optional<QString> {
      requests << request;
      return folder + QStringLiteral("/file.txt");
    });
    // Both file groups at hand: the tables read, every block read.
    const auto run = [&] {
      seams_ = std::make_unique<FakeSeams>();
      openWindow();
      login("Velmor");
      readAll("127.0.0.153");
      for (const BlockLayout& b : blockLayouts()) ask(b.readCode, Bytes(b.bytes(), 0));
      w_->repaintNow();
      requests.clear();
    };
    const auto clickOn = [&](const QString& name) {
      w_->pages()->setCurrentWidget(find(
          name == QLatin1String("GetParFile") || name == QLatin1String("SaveParFile") ? "System"
                                                                                      : "System2"));
      click(name.toLatin1().constData());
      return requests.isEmpty() ? FileDialogRequest{} : requests.takeLast();
    };

    run();
    FileDialogRequest first = clickOn(button);
    QCOMPARE(int(first.mode), mode);
    QCOMPARE(first.title, title);
    QCOMPARE(first.filters, (QStringList{"txt (*.txt)", "csv (*.csv)", "All files (*)"}));
    QCOMPARE(first.folder, QDir::currentPath());

    w_.reset();  // the next run
    run();
    QCOMPARE(clickOn(otherKind).folder, QDir::currentPath());  // the other kind's own folder
    QCOMPARE(clickOn(button).folder, folder);

    // The window's settings file lies beside the settings record, which keeps its 42 bytes.
    w_.reset();
    const QString data = dir_->path();
    QVERIFY(QFileInfo::exists(data + "/" + WindowSettings::kFileName));
    const std::string record = settingsPath(withTrailingSlash(data.toStdString()), kWindowCaption);
    QCOMPARE(QFileInfo(QString::fromStdString(record)).size(), qint64(42));
    QVERIFY(readSettingsFile(record).has_value());

    QVERIFY(QDir(folder).removeRecursively());
    run();
    QCOMPARE(clickOn(button).folder, QDir::currentPath());
  }

  void aBlockIsReadEditedAndWritten() {
    openWindow();
    login("Velmor");
    w_->pages()->setCurrentWidget(find("System"));
    connectMain("127.0.0.9");
    click("GetZero");
    device().channel.sendNextCmd();
    QCOMPARE(int(lan2().takeWrite().at(7)), 36);
    Bytes zero;
    for (uint32_t v : {4294967295u, 2u, 3u, 4u, 5u, 6u, 77u, 88u}) putLe32(zero, v);
    lan2().receive(replyFrame(36, zero));
    w_->repaintNow();
    auto* grid = find<ValueGrid>("ZeroPar");
    QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("4294967295"));
    QCOMPARE(grid->item(5, 1)->text(), QStringLiteral("6"));

    QLineEdit* editor = typeInto(grid, 1, QStringLiteral("-1"));
    commit(editor);
    click("SetZero");
    device().channel.sendNextCmd();
    const Bytes request = lan2().takeWrite();
    QCOMPARE(int(request.at(7)), 37);
    QCOMPARE(le32(request, 8 + 4), 4294967295u);
    QCOMPARE(le32(request, 8 + 6 * 4), 77u);  // the values without a row go back as received
    QCOMPARE(le32(request, 8 + 7 * 4), 88u);

    // A cell that is no number keeps its write from being sent and is marked.
    auto* sys = find<ValueGrid>("SysPar");
    Bytes sysBlock;
    for (uint32_t v = 0; v < 30; ++v) putLe32(sysBlock, v);
    lan2().receive(replyFrame(37, {}));  // the zero block's write is answered
    ask(52, sysBlock);
    w_->repaintNow();
    QCOMPARE(sys->item(29, 1)->text(), QStringLiteral("29"));
    commit(typeInto(sys, 3, QStringLiteral("x1")));
    click("SetSys");
    device().channel.sendNextCmd();
    w_->repaintNow();
    QVERIFY(lan2().writes.empty());
    QCOMPARE(sys->item(3, 1)->background().color(), QColor(255, 160, 160));
    QVERIFY(find<QLabel>("BlockMessage")->text().contains(QStringLiteral("FiltroSW")));
    // Corrected, it goes out and the mark is gone.
    commit(typeInto(sys, 3, QStringLiteral("5")));
    click("SetSys");
    device().channel.sendNextCmd();
    w_->repaintNow();
    const Bytes sysWrite = lan2().takeWrite();
    QCOMPARE(int(sysWrite.at(7)), 11);
    QCOMPARE(le32(sysWrite, 8 + 3 * 4), 5u);
    QCOMPARE(sys->item(3, 1)->background().style(), Qt::NoBrush);
    QCOMPARE(find<QLabel>("BlockMessage")->text(), QString());
  }

  // "SaveParFile" waits until every block was read whole from the device or
  // loaded from a backup, and says which blocks to read until then; no file
  // dialog opens and no file is written meanwhile.
  void theBlockBackupWaitsForEveryBlock_data() {
    QTest::addColumn<bool>("fromBackup");
    QTest::addRow("read from the device") << false;
    QTest::addRow("loaded from a backup") << true;
  }
  void theBlockBackupWaitsForEveryBlock() {
    QFETCH(bool, fromBackup);
    openWindow();
    login("Velmor");
    w_->pages()->setCurrentWidget(find("System"));
    connectMain("127.0.0.151");
    const QString loaded = dir_->filePath(QStringLiteral("loaded"));
    const QString saved = dir_->filePath(QStringLiteral("saved"));
    QByteArray image;  // what the device or the loaded backup holds, in file order
    for (BlockId id : kBackupOrder) {
      const BlockLayout& b = blockLayout(id);
      for (size_t v = 0; v < b.values; ++v) {
        Bytes le;
        putLe32(le, uint32_t(b.readCode * 1000 + v));
        image.append(reinterpret_cast<const char*>(le.data()), 4);
      }
    }
    QFile file(loaded);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(image);
    file.close();
    int dialogs = 0;
    QString choice;
    setFileChooser([&](QWidget*, const FileDialogRequest&) -> std::optional<QString> {
      ++dialogs;
      return choice;
    });
    auto* message = find<QLabel>("BlockMessage");
    const auto refused = [&](const QStringList& missing) {
      choice = saved;
      dialogs = 0;
      click("SaveParFile");
      QCOMPARE(dialogs, 0);
      QVERIFY(!QFileInfo::exists(saved));
      for (const BlockLayout& b : blockLayouts()) {
        const bool named = message->text().contains(QLatin1String(b.getButton));
        QVERIFY2(named == missing.contains(QLatin1String(b.getButton)),
                 qPrintable(message->text()));
      }
      QVERIFY2(message->text().contains(QStringLiteral("zeros")), qPrintable(message->text()));
    };

    refused({"GetComm", "GetZero", "GetProd", "GetHBM", "GetSys", "GetSorter"});
    if (fromBackup) {
      choice = loaded;
      click("GetParFile");
    } else {
      // A short reply leaves zeros in its block: still missing. The message
      // follows the reads as they arrive.
      const BlockLayout& sys = blockLayout(BlockId::Sys);
      ask(sys.readCode, Bytes(sys.bytes() - 4, 1));
      refused({"GetComm", "GetZero", "GetProd", "GetHBM", "GetSys", "GetSorter"});
      qsizetype at = 0;
      QStringList missing = {"GetComm", "GetZero", "GetProd", "GetHBM", "GetSys", "GetSorter"};
      for (BlockId id : kBackupOrder) {
        const BlockLayout& b = blockLayout(id);
        const QByteArray bytes = image.mid(at, qsizetype(b.bytes()));
        at += bytes.size();
        ask(b.readCode, Bytes(bytes.begin(), bytes.end()));
        w_->repaintNow();
        missing.removeOne(QLatin1String(b.getButton));
        if (!missing.isEmpty()) refused(missing);
      }
    }
    w_->repaintNow();
    // The refusal is gone; the message says what the last action did.
    QCOMPARE(message->text(),
             fromBackup ? loaded + QStringLiteral(" loaded: the six blocks") : QString());

    choice = saved;
    dialogs = 0;
    click("SaveParFile");
    QCOMPARE(dialogs, 1);
    QFile written(saved);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll().toHex(), image.toHex());
  }

  // Values read from a device that is no longer connected are greyed, and the
  // page's line says they are not current, until they are read again.
  void valuesOfALostDeviceAreGreyedUntilReadAgain() {
    openWindow();
    login("Velmor");
    readAll("127.0.0.155");
    ask(blockLayout(BlockId::Sys).readCode, Bytes(blockLayout(BlockId::Sys).bytes(), 0));
    w_->repaintNow();
    auto* tables = find<ValueGrid>("GridParTabs");
    auto* sys = find<ValueGrid>("SysPar");
    QVERIFY(tables->isCurrent());
    QVERIFY(sys->isCurrent());
    lan2().fail();
    w_->repaintNow();
    QVERIFY(!tables->isCurrent());
    QVERIFY(!sys->isCurrent());
    QCOMPARE(find<QLabel>("ParProgress")->text(), QString::fromUtf8(ParTables::kNotCurrent));
    QCOMPARE(tables->item(0, 1)->foreground().color(),
             tables->palette().color(QPalette::Disabled, QPalette::Text));
    readAll("127.0.0.155");
    QVERIFY(tables->isCurrent());
    QVERIFY(!sys->isCurrent());  // not read again yet
  }

  void theBlockFileAndItsCancelledDialog() {
    openWindow();
    login("Velmor");
    w_->pages()->setCurrentWidget(find("System"));
    const QString path = dir_->filePath(QStringLiteral("blocos"));
    std::optional<QString> choice = path;
    setFileChooser([&](QWidget*, const FileDialogRequest&) { return choice; });
    // A backup needs every block read first; the device holds zeros.
    connectMain("127.0.0.152");
    for (const BlockLayout& b : blockLayouts()) ask(b.readCode, Bytes(b.bytes(), 0));
    w_->repaintNow();
    auto* comm = find<ValueGrid>("CommPar");
    commit(typeInto(comm, 0, QStringLiteral("123")));
    click("SaveParFile");
    QCOMPARE(QFileInfo(path).size(),
             qint64(340));  // the blocks as they stand: the edit is not in it
    click("GetParFile");
    QCOMPARE(comm->item(0, 1)->text(), QStringLiteral("0"));
    QCOMPARE(find<QLabel>("BlockMessage")->text(),
             path + QStringLiteral(" loaded: the six blocks"));

    commit(typeInto(comm, 0, QStringLiteral("9")));
    choice = std::nullopt;
    click("GetParFile");  // cancelled: the grids still show the blocks again
    QCOMPARE(comm->item(0, 1)->text(), QStringLiteral("0"));

    // SetAllPar writes the six blocks in the file's order.
    click("SetAllPar");
    std::vector<int> codes;
    for (int turn = 0; turn < 20 && device().channel.queue().size() > 0; ++turn) {
      device().channel.sendNextCmd();
      while (!lan2().writes.empty()) {
        codes.push_back(lan2().takeWrite().at(7));
        lan2().receive(replyFrame(codes.back(), {}));  // a reply may send the next at once
      }
    }
    QCOMPARE(codes, (std::vector<int>{23, 37, 25, 15, 11, 46}));
  }
};

QTEST_MAIN(TestConfigPages)
#include "tst_config_pages.moc"
