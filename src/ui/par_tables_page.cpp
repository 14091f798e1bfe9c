#include "ui/par_tables_page.h"

#include <QFileInfo>
#include <QFont>
#include <QStyle>

#include "ui/confirm.h"
#include "ui/file_choice.h"
#include "ui/guarded.h"
#include "ui/repaint_scheduler.h"
#include "ui/show_text.h"
#include "ui_par_tables_page.h"

namespace vantor {

namespace {

// "1 parameter table", "3 parameter tables".
QString counted(size_t n, const QString& thing) {
  return QStringLiteral("%1 %2%3").arg(n).arg(thing, n == 1 ? QString() : QStringLiteral("s"));
}

// The tables of the store as the confirmations name them: "all 4 parameters
// of the device's 3 parameter tables (Pesagem, Vazia, Servico)".
QString tablesOf(const ParTableStore& store) {
  QStringList names;
  size_t params = 0;
  for (size_t t = 0; t < store.tableCount(); ++t) {
    names << QString::fromStdString(store.table(t).name);
    params += store.table(t).paramCount;
  }
  return QStringLiteral("all %1 of the device's %2 (%3)")
      .arg(counted(params, QStringLiteral("parameter")),
           counted(store.tableCount(), QStringLiteral("parameter table")), names.join(", "));
}

}  // namespace

ParTablesPage::ParTablesPage(Device& device, WindowSettings& settings, QWidget* parent)
    : QWidget(parent),
      device_(device),
      settings_(settings),
      ui_(std::make_unique<Ui::ParTablesPage>()) {
  ui_->setupUi(this);
  QFont courier(QStringLiteral("Courier New"));
  courier.setStyleHint(QFont::TypeWriter);
  ui_->GridParTabs->setFont(courier);
  ui_->GridParTabs->setCellSize(160, 20);
  // Two columns and the vertical scroll bar; the file group takes the rest of the width.
  ui_->GridParTabs->setFixedWidth(2 * 160 + 2 * ui_->GridParTabs->frameWidth() +
                                  style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2);
  QFont bold = ui_->RangePar->font();
  bold.setBold(true);
  bold.setPixelSize(16);
  ui_->RangePar->setFont(bold);
  // Hidden until the first table list.
  ui_->PanelSave->setVisible(false);
  ui_->GroupFile->setVisible(false);
  ui_->SaveDef->setVisible(false);
  ui_->SaveAllDef->setVisible(false);
  ui_->SavePar->setEnabled(false);
  ui_->SaveDef->setEnabled(false);
  connectControls();
}

ParTablesPage::~ParTablesPage() = default;

void ParTablesPage::connectControls() {
  ParTables& tables = device_.parTables;
  auto on = [this](QPushButton* button, std::function<void()> action) {
    connect(button, &QPushButton::clicked, this, [this, action] { runGuarded(this, action); });
  };
  on(ui_->GetAllPar, [&tables] { tables.GetAllParClick(); });
  on(ui_->GetTab, [&tables] { tables.GetTabClick(); });
  on(ui_->SavePar, [&tables] { tables.SaveParClick(); });
  on(ui_->SaveDef, [&tables] { tables.SaveDefClick(); });
  on(ui_->SaveAllDef, [this] { saveAllDefaults(); });
  on(ui_->SaveFileAll, [this] { saveFile(); });
  on(ui_->ReadFilePar, [this] { readFile(); });
  on(ui_->SaveAllPar, [this] { saveAllToDevice(); });
  connect(ui_->DefOn, &QCheckBox::toggled, this, [this, &tables](bool checked) {
    if (!painting_) runGuarded(this, [&] { tables.DefOnClick(checked); });
  });
  connect(ui_->ListTabs, &QComboBox::activated, this,
          [this, &tables](int index) { runGuarded(this, [&] { tables.ListTabsChange(index); }); });
  connect(ui_->GridParTabs, &QTableWidget::currentCellChanged, this, [this, &tables](int row) {
    if (!painting_ && row >= 0) runGuarded(this, [&] { tables.GridParTabsSelectCell(row); });
  });
  connect(ui_->GridParTabs, &ValueGrid::valueCommitted, this, &ParTablesPage::cellCommitted);
}

void ParTablesPage::cellCommitted(int row, int column, const QString& text) {
  std::vector<ParGridRow>& rows = device_.parTables.controls.gridParTabs;
  if (column == 1 && row >= 0 && static_cast<size_t>(row) < rows.size())
    rows[static_cast<size_t>(row)].value = text.toStdString();
}

// Without a table list the core writes nothing, and there is nothing to ask.
void ParTablesPage::saveAllDefaults() {
  ParTables& tables = device_.parTables;
  if (tables.tablesLoaded() &&
      !confirm(this, {QStringLiteral("Set all parameter tables to their defaults"),
                      QStringLiteral("Sets %1 to their default values.\n\nThe values the device "
                                     "holds now are lost; \"Save File\" keeps a copy of them.")
                          .arg(tablesOf(tables.store())),
                      QStringLiteral("Write defaults")}))
    return;
  tables.SaveAllDefClick();
}

void ParTablesPage::saveAllToDevice() {
  ParTables& tables = device_.parTables;
  ParTableFileGroup& file = device_.parTableFile;
  if (tables.tablesLoaded() && file.controls.saveAllParEnabled &&
      !confirm(this, {QStringLiteral("Write all parameter tables to the device"),
                      QStringLiteral("Overwrites %1 with the values loaded from %2 (those of "
                                     "the table shown as they stand in its grid).")
                          .arg(tablesOf(tables.store()), loadedFile_),
                      QStringLiteral("Write all tables")}))
    return;
  file.SaveAllParClick();
}

void ParTablesPage::saveFile() {
  if (const std::optional<std::string> path =
          chooseFile(this, settings_, FileDialogKind::Save, FileKind::ParTables))
    device_.parTableFile.SaveFileAllClick(*path);
}

void ParTablesPage::readFile() {
  if (const std::optional<std::string> path =
          chooseFile(this, settings_, FileDialogKind::Open, FileKind::ParTables)) {
    if (device_.parTableFile.ReadFileParClick(*path))
      loadedFile_ = QFileInfo(QString::fromStdString(*path)).fileName();
  }
}

void ParTablesPage::repaintAreas(uint32_t areas) {
  if (!(areas & bit(Area::ParTables))) return;
  painting_ = true;
  paintTables();
  painting_ = false;
  paintMemo();
}

void ParTablesPage::paintTables() {
  const ParTablesControls& c = device_.parTables.controls;
  paintListTabs();
  paintGrid();
  setIfChanged(ui_->HelpPar, c.helpPar);
  setIfChanged(ui_->RangePar, c.rangePar);
  setIfChanged(ui_->LabelTabSgn, c.labelTabSgn);
  // The line shows a running sweep, else what the last action has to say.
  setIfChanged(ui_->ParProgress, c.progress.empty() ? c.message : c.progress);
  ui_->PanelSave->setVisible(c.panelSaveVisible);
  ui_->GroupFile->setVisible(c.groupFileVisible);
  ui_->SavePar->setEnabled(c.saveParEnabled);
  ui_->SaveDef->setEnabled(c.saveParEnabled);
  ui_->DefOn->setChecked(c.defOn);
  ui_->SaveDef->setVisible(c.defOn);
  ui_->SaveAllDef->setVisible(c.defOn);
  ui_->SaveAllPar->setEnabled(device_.parTableFile.controls.saveAllParEnabled);
}

void ParTablesPage::paintListTabs() {
  const ParTablesControls& c = device_.parTables.controls;
  QStringList items;
  for (const std::string& name : c.listTabs) items << QString::fromStdString(name);
  QComboBox* list = ui_->ListTabs;
  bool same = list->count() == items.size();
  for (int i = 0; same && i < items.size(); ++i) same = list->itemText(i) == items[i];
  if (!same) {
    list->clear();
    list->addItems(items);
  }
  if (list->currentIndex() != c.listTabsIndex) list->setCurrentIndex(c.listTabsIndex);
}

void ParTablesPage::paintGrid() {
  const ParTablesControls& c = device_.parTables.controls;
  ValueGrid* grid = ui_->GridParTabs;
  std::vector<std::string> names;
  names.reserve(c.gridParTabs.size());
  for (const ParGridRow& row : c.gridParTabs) names.push_back(row.name);
  grid->setNames(names);
  for (size_t r = 0; r < c.gridParTabs.size(); ++r)
    grid->setValue(static_cast<int>(r), c.gridParTabs[r].value);
  grid->setCurrent(c.current);
  grid->setToolTip(QString::fromStdString(c.gridHint));
  if (grid->editingRow() < 0 && c.gridRow < grid->rowCount() && grid->currentRow() != c.gridRow)
    grid->setCurrentCell(c.gridRow, 1);
}

void ParTablesPage::paintMemo() {
  const std::vector<std::string>& lines = device_.parTableFile.controls.memo7;
  if (memoShown_ > lines.size()) memoShown_ = 0;
  for (; memoShown_ < lines.size(); ++memoShown_)
    ui_->Memo7->appendPlainText(QString::fromStdString(lines[memoShown_]));
}

}  // namespace vantor
