#include "ui/products_page.h"

#include <QFont>
#include <QStyle>

#include "ui/confirm.h"
#include "ui/file_choice.h"
#include "ui/guarded.h"
#include "ui/repaint_scheduler.h"
#include "ui/show_text.h"
#include "ui/sim_box.h"
#include "ui_products_page.h"

namespace vantor {

namespace {
constexpr int kNameWidth = 160;
constexpr int kValueWidth = 292;
constexpr int kRowHeight = 20;
}  // namespace

ProductsPage::ProductsPage(Device& device, WindowSettings& settings, QWidget* parent)
    : QWidget(parent),
      device_(device),
      settings_(settings),
      ui_(std::make_unique<Ui::ProductsPage>()) {
  ui_->setupUi(this);
  QFont courier(QStringLiteral("Courier New"));
  courier.setStyleHint(QFont::TypeWriter);
  ValueGrid* grid = ui_->ProdGrid;
  grid->setFont(courier);
  grid->setCellSize(kNameWidth, kRowHeight);
  grid->setColumnWidth(1, kValueWidth);
  grid->setFixedWidth(kNameWidth + kValueWidth + 2 * grid->frameWidth() +
                      style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2);
  QFont bold = ui_->RangeParProd->font();
  bold.setBold(true);
  bold.setPixelSize(16);
  ui_->RangeParProd->setFont(bold);
  ui_->PanelProd->setVisible(false);  // until the first structure
  simBox_ = new SimBox(device_, this);
  ui_->simBoxSlot->addWidget(simBox_);
  connectControls();
}

ProductsPage::~ProductsPage() = default;

QVBoxLayout* ProductsPage::simBoxSlot() const { return ui_->simBoxSlot; }

void ProductsPage::connectControls() {
  Products& products = device_.products;
  auto on = [this](QPushButton* button, std::function<void()> action) {
    connect(button, &QPushButton::clicked, this, [this, action] { runGuarded(this, action); });
  };
  on(ui_->GetHDProd, [&products] { products.GetHDProdClick(); });
  on(ui_->GetProg, [&products] { products.GetProgClick(); });
  on(ui_->GetSelProd, [&products] { products.GetSelProdClick(); });
  on(ui_->SetSelProd, [&products] { products.SetSelProdClick(); });
  on(ui_->MkNewProd, [&products] { products.MkNewProdClick(); });
  on(ui_->SetAuto, [this] { saveAllToDevice(); });
  on(ui_->ExpProd, [this] { saveFile(); });
  on(ui_->InpProd, [this] { readFile(); });
  connect(ui_->ListBoxProd, &QComboBox::activated, this, [this, &products](int index) {
    runGuarded(this, [&] { products.ListBoxProdChange(index); });
  });
  connect(ui_->ProdGrid, &QTableWidget::currentCellChanged, this, [this, &products](int row) {
    if (!painting_ && row >= 0) runGuarded(this, [&] { products.ProdGridSelectCell(row); });
  });
  connect(ui_->ProdGrid, &ValueGrid::valueCommitted, this, &ProductsPage::cellCommitted);
}

void ProductsPage::cellCommitted(int row, int column, const QString& text) {
  std::vector<ParGridRow>& rows = device_.products.controls.prodGrid;
  if (column == 1 && row >= 0 && static_cast<size_t>(row) < rows.size())
    rows[static_cast<size_t>(row)].value = text.toStdString();
}

void ProductsPage::saveAllToDevice() {
  Products& products = device_.products;
  const size_t count = products.store().count();
  if (products.productsLoaded() && count > 0 &&
      !confirm(this, {QStringLiteral("Write all products to the device"),
                      QStringLiteral("Overwrites the device's products 0 to %1 with the %2 "
                                     "products held here.")
                          .arg(count - 1)
                          .arg(count),
                      QStringLiteral("Write all products")}))
    return;
  products.SetAutoClick();
}

void ProductsPage::saveFile() {
  if (const std::optional<std::string> path =
          chooseFile(this, settings_, FileDialogKind::Save, FileKind::Products))
    device_.prodFile.ExpProdClick(*path);
}

void ProductsPage::readFile() {
  if (const std::optional<std::string> path =
          chooseFile(this, settings_, FileDialogKind::Open, FileKind::Products))
    device_.prodFile.InpProdClick(*path);
}

void ProductsPage::repaintAreas(uint32_t areas) {
  if (!(areas & bit(Area::Products))) return;
  simBox_->repaintAreas(areas);
  painting_ = true;
  paintProducts();
  painting_ = false;
  paintMemo();
}

void ProductsPage::paintProducts() {
  const ProductsControls& c = device_.products.controls;
  paintList();
  paintGrid();
  setIfChanged(ui_->HelpParProd, c.helpParProd);
  setIfChanged(ui_->RangeParProd, c.rangeParProd);
  setIfChanged(ui_->HedProg, c.hedProg);
  setIfChanged(ui_->ProdProgress, c.progress.empty() ? c.message : c.progress);
  ui_->PanelProd->setVisible(c.panelProdVisible);
}

void ProductsPage::paintList() {
  const ProductsControls& c = device_.products.controls;
  QComboBox* list = ui_->ListBoxProd;
  bool same = list->count() == static_cast<int>(c.listBoxProd.size());
  for (int i = 0; same && i < list->count(); ++i)
    same = list->itemText(i).toStdString() == c.listBoxProd[static_cast<size_t>(i)];
  if (!same) {
    QStringList items;
    for (const std::string& label : c.listBoxProd) items << QString::fromStdString(label);
    list->clear();
    list->addItems(items);
  }
  if (list->currentIndex() != c.listBoxProdIndex) list->setCurrentIndex(c.listBoxProdIndex);
  list->setToolTip(QString::fromStdString(c.listBoxProdHint));
}

void ProductsPage::paintGrid() {
  const ProductsControls& c = device_.products.controls;
  ValueGrid* grid = ui_->ProdGrid;
  std::vector<std::string> names;
  names.reserve(c.prodGrid.size());
  for (const ParGridRow& row : c.prodGrid) names.push_back(row.name);
  grid->setNames(names);
  for (size_t r = 0; r < c.prodGrid.size(); ++r)
    grid->setValue(static_cast<int>(r), c.prodGrid[r].value);
  grid->setBadRow(c.badRow);
  grid->setCurrent(c.current);
  grid->setToolTip(QString::fromStdString(c.prodGridHint));
  if (grid->editingRow() < 0 && c.gridRow < grid->rowCount() && grid->currentRow() != c.gridRow)
    grid->setCurrentCell(c.gridRow, 1);
}

void ProductsPage::paintMemo() {
  const std::vector<std::string>& lines = device_.prodFile.controls.memo9;
  if (memoShown_ > lines.size()) memoShown_ = 0;
  for (; memoShown_ < lines.size(); ++memoShown_)
    ui_->Memo9->appendPlainText(QString::fromStdString(lines[memoShown_]));
}

}  // namespace vantor
