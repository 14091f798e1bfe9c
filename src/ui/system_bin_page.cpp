#include "ui/system_bin_page.h"

#include <QFontMetrics>
#include <QHeaderView>

#include "config/block_backup_guard.h"
#include "ui/confirm.h"
#include "ui/file_choice.h"
#include "ui/guarded.h"
#include "ui/repaint_scheduler.h"
#include "ui/show_text.h"
#include "ui/value_grid.h"
#include "ui_system_bin_page.h"

namespace vantor {

namespace {
constexpr int kColumnWidth = 120;
constexpr int kRowHeight = 20;
constexpr int kSysRowHeight = 16;
constexpr int kValueWidth = 90;  // "4294967295" and the cell's margins

template <typename T>
T* child(QWidget* root, const char* name) {
  T* widget = root->findChild<T*>(QLatin1String(name));
  Q_ASSERT_X(widget, "SystemBinPage", name);
  return widget;
}
}  // namespace

SystemBinPage::SystemBinPage(Device& device, BlockBackupGuard& guard, WindowSettings& settings,
                             QWidget* parent)
    : QWidget(parent),
      device_(device),
      guard_(guard),
      settings_(settings),
      ui_(std::make_unique<Ui::SystemBinPage>()) {
  ui_->setupUi(this);
  for (const BlockLayout& layout : blockLayouts()) bindBlock(layout);
  // Room for six counters at their widest.
  ui_->Edit5->setMinimumWidth(ui_->Edit5->fontMetrics().horizontalAdvance(QStringLiteral(
                                  "R65535 Ow65535 Id65535 St65535 IdCk65535 IdO65535")) +
                              16);

  connect(ui_->SaveParFile, &QPushButton::clicked, this,
          [this] { runGuarded(this, [this] { saveParFile(); }); });
  connect(ui_->GetParFile, &QPushButton::clicked, this,
          [this] { runGuarded(this, [this] { getParFile(); }); });
  connect(ui_->SetAllPar, &QPushButton::clicked, this,
          [this] { runGuarded(this, [this] { setAllBlocks(); }); });
  connect(ui_->GetPesoOn, &QPushButton::clicked, this,
          [this] { runGuarded(this, [this] { device_.pesoCounters.GetPesoOnClick(); }); });
  ui_->BlockMessage->setMaximumWidth(ui_->ProdPar->width());
  paintBlocks();
}

SystemBinPage::~SystemBinPage() = default;

void SystemBinPage::bindBlock(const BlockLayout& layout) {
  ConfigBlocks& blocks = device_.configBlocks;
  const BlockId id = layout.id;
  ValueGrid* grid = child<ValueGrid>(this, layout.grid);
  grids_[index(id)] = grid;
  grid->setCellSize(kColumnWidth, id == BlockId::Sys ? kSysRowHeight : kRowHeight);
  std::vector<std::string> names(layout.rowNames.begin(), layout.rowNames.end());
  grid->setNames(names);
  // The names column is as wide as its longest name; the values column holds
  // any 32-bit value. Every row is shown without scrolling.
  grid->resizeColumnToContents(0);
  grid->setColumnWidth(0, std::max(kColumnWidth, grid->columnWidth(0)));
  grid->setColumnWidth(1, kValueWidth);
  grid->horizontalHeader()->setStretchLastSection(true);
  grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid->setFixedSize(grid->columnWidth(0) + kValueWidth + 2 * grid->frameWidth(),
                     grid->fullHeight());

  connect(grid, &ValueGrid::valueCommitted, this,
          [&blocks, id](int row, int column, const QString& text) {
            std::vector<std::string>& cells = blocks.controls.cells[index(id)];
            if (column == 1 && row >= 0 && static_cast<size_t>(row) < cells.size())
              cells[static_cast<size_t>(row)] = text.toStdString();
          });
  connect(child<QPushButton>(this, layout.getButton), &QPushButton::clicked, this,
          [this, &blocks, id] { runGuarded(this, [&blocks, id] { blocks.GetClick(id); }); });
  connect(child<QPushButton>(this, layout.setButton), &QPushButton::clicked, this,
          [this, &blocks, id] { runGuarded(this, [&blocks, id] { blocks.SetClick(id); }); });
}

void SystemBinPage::setAllBlocks() {
  QStringList grids;
  size_t values = 0;
  for (BlockId id : kBackupOrder) {
    grids << QString::fromLatin1(blockLayout(id).grid);
    values += blockLayout(id).values;
  }
  const Confirmation writeAll{
      QStringLiteral("Write all configuration blocks to the device"),
      QStringLiteral("Overwrites all %1 configuration blocks of the device (%2), %3 values in "
                     "all, with the values their grids show now.")
          .arg(kBackupOrder.size())
          .arg(grids.join(QStringLiteral(", ")))
          .arg(values),
      QStringLiteral("Write all blocks")};
  if (confirm(this, writeAll)) device_.configBlocks.SetAllParClick();
}

// Refused, before any dialog, while a block holds only the zeros it started with.
void SystemBinPage::saveParFile() {
  backupRefused_ = blockBackupRefusal(guard_.missing()).has_value();
  paintBlocks();
  if (backupRefused_) return;
  if (const std::optional<std::string> path =
          chooseFile(this, settings_, FileDialogKind::Save, FileKind::BlockBackup))
    device_.configBlocks.SaveParFileClick(*path);
}

// A cancelled dialog still refreshes the grids from the blocks.
void SystemBinPage::getParFile() {
  if (device_.configBlocks.GetParFileClick(
          chooseFile(this, settings_, FileDialogKind::Open, FileKind::BlockBackup)))
    guard_.backupLoaded();
}

void SystemBinPage::repaintAreas(uint32_t areas) {
  if (areas & bit(Area::LiveStatus)) {
    setIfChanged(ui_->TimPes, device_.liveStatus.fields().timPes);
  }
  if (areas & bit(Area::ConfigBlocks)) paintBlocks();
}

void SystemBinPage::paintBlocks() {
  const ConfigBlocksControls& c = device_.configBlocks.controls;
  for (const BlockLayout& layout : blockLayouts()) {
    ValueGrid* grid = grids_[index(layout.id)];
    const std::vector<std::string>& cells = c.cells[index(layout.id)];
    for (size_t r = 0; r < cells.size(); ++r) grid->setValue(static_cast<int>(r), cells[r]);
    grid->setBadRow(c.badRow >= 0 && c.badBlock == layout.id ? c.badRow : -1);
    grid->setCurrent(c.current[index(layout.id)] || cells.empty() || cells.front().empty());
  }
  // A refused backup is named until the blocks it waits for have been read.
  std::string message = c.message;
  const std::optional<std::string> refusal = blockBackupRefusal(guard_.missing());
  backupRefused_ = backupRefused_ && refusal;
  if (backupRefused_) message += (message.empty() ? "" : "\n") + *refusal;
  setIfChanged(ui_->BlockMessage, message);
  setIfChanged(ui_->Edit5, device_.pesoCounters.controls.edit5);
}

}  // namespace vantor
