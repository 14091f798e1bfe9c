#include "ui/tqxvantor.h"

#include <QGuiApplication>
#include <QLayout>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>

#include "app/data_dir.h"
#include "config/block_backup_guard.h"
#include "firmware/call_fw.h"
#include "ui/access_applier.h"
#include "ui/deb_page.h"
#include "ui/guarded.h"
#include "ui/login_page.h"
#include "ui/panel_bar.h"
#include "ui/par_tables_page.h"
#include "ui/peso_page.h"
#include "ui/printer_page.h"
#include "ui/products_page.h"
#include "ui/qx7_page.h"
#include "ui/reg_page.h"
#include "ui/repaint_scheduler.h"
#include "ui/snapshot_menu.h"
#include "ui/system_bin_page.h"
#include "ui/tfirm_cont.h"
#include "ui/top_row.h"
#include "ui/tsgnf.h"
#include "ui/window_settings.h"
#include "ui_tqxvantor.h"

namespace vantor {

namespace {
constexpr QPoint kDesignPosition(412, 133);
constexpr QSize kDesignSize(1103, 630);
// The least room for the pages: below it a page would show too little to work with.
constexpr QSize kLeastPageArea(600, 320);

// A page's content in a scroll area that fills the page: on a screen smaller
// than the content the page scrolls instead of cutting it, and the window's
// minimum size does not grow with its largest page.
void placeScrolling(QWidget* page, QWidget* content) {
  auto* scroll = new QScrollArea(page);
  scroll->setObjectName(page->objectName() + QStringLiteral("Scroll"));
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidgetResizable(true);
  scroll->setWidget(content);
  page->layout()->setContentsMargins(2, 2, 2, 2);
  page->layout()->addWidget(scroll);
}
}  // namespace

TQXVantor::TQXVantor(Seams& seams, const WindowStart& start, QWidget* parent)
    : QWidget(parent),
      ui_(std::make_unique<Ui::TQXVantor>()),
      settings_(std::make_unique<WindowSettings>(QString::fromStdString(start.dataDir))),
      device_(std::make_unique<Device>(seams)) {
  ui_->setupUi(this);
  setWindowTitle(QString::fromUtf8(kWindowCaption));
  logic_ =
      std::make_unique<MainWindowLogic>(*device_, seams.clock(), start.dataDir, kWindowCaption);

  ui_->StatusBar->setPanels({150, 200, 50});                     // Rev, Status, Sgn
  ui_->ErrorBar->setPanels({100, 200, 100, 200, 100, 200, 50});  // link states, errors, count

  topRow_ = new TopRow(*ui_, *device_, this);
  deb_ = new DebPage(*device_, settings_.get());
  device_->eventLog.setDataDir(start.dataDir);
  placeScrolling(ui_->Deb, deb_);
  qx7_ = new Qx7Page(*device_);
  placeScrolling(ui_->TabQX7, qx7_);
  parTables_ = new ParTablesPage(*device_, *settings_);
  placeScrolling(ui_->System2, parTables_);
  systemBin_ = new SystemBinPage(*device_, device_->blockBackupGuard, *settings_);
  placeScrolling(ui_->System, systemBin_);
  printer_ = new PrinterPage(*device_, *settings_);
  placeScrolling(ui_->TabPrinter, printer_);
  reg_ = new RegPage(*device_);
  placeScrolling(ui_->Reg, reg_);
  products_ = new ProductsPage(*device_, *settings_);
  placeScrolling(ui_->TabProduto, products_);
  peso_ = new PesoPage(*device_, *settings_);
  placeScrolling(ui_->PesoPage, peso_);
  login_ = new LoginPage(*device_);
  placeScrolling(ui_->Login, login_);
  ui_->PageControl1->setMinimumSize(kLeastPageArea);
  access_ = std::make_unique<AccessApplier>(this, ui_->PageControl1);

  repaint_ = new RepaintScheduler([this](uint32_t areas) { repaintAreas(areas); }, this);
  onChangeId_ = device_->shell.onChange.connect([this](Area area) { repaint_->mark(area); });
  // An alert raised in a socket or timer event is shown once that event is over.
  onAlertId_ = device_->shell.onAlert.connect([this](const std::string& text) {
    QMetaObject::invokeMethod(
        this, [this, message = QString::fromStdString(text)] { showError(this, message); },
        Qt::QueuedConnection);
  });

  connect(ui_->ErrorBar, &PanelBar::clicked, this,
          [this] { runGuarded(this, [this] { logic_->ErrorBarClick(); }); });

  // FormCreate.
  runGuarded(this, [&] {
    logic_->FormCreate();
    if (start.host) logic_->useHost(*start.host);
  });
  repaintAreas(kAllAreas);
  repaint_->flush();

  // The password dialog is created hidden right after the main window.
  sgnf_ = new TSgnF(this);
  firm_ = new TFirm_cont(device_->seams, *settings_, this);
  snapshotMenu_ = new SnapshotMenu(this, *device_, *settings_);
  connect(qx7_, &Qx7Page::callFwClicked, this, &TQXVantor::CallFWClick);
  // Where the window was at the end of the last run; the design place the first time.
  if (!restoreGeometry(settings_->geometry())) placeOnScreen();
}

TQXVantor::~TQXVantor() {
  device_->shell.onChange.disconnect(onChangeId_);  // nothing repaints a window going away
  device_->shell.onAlert.disconnect(onAlertId_);
  runGuarded(nullptr, [this] { logic_->FormDestroy(); });  // a failure to write is silent
  settings_->setGeometry(saveGeometry());
}

QTabWidget* TQXVantor::pages() const { return ui_->PageControl1; }
PanelBar* TQXVantor::statusBar() const { return ui_->StatusBar; }
PanelBar* TQXVantor::errorBar() const { return ui_->ErrorBar; }

// The design place and size; on a screen smaller than the design the window
// and its frame keep inside the screen.
void TQXVantor::placeOnScreen() {
  QRect wanted(kDesignPosition, kDesignSize.expandedTo(minimumSizeHint()));
  QMargins frame;
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    // The frame around the window: known once the window exists on some
    // platforms; elsewhere a title bar and thin borders are allowed for.
    create();
    const QRect inner = geometry(), outer = frameGeometry();
    frame = QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                     outer.right() - inner.right(), outer.bottom() - inner.bottom());
    if (frame.isNull()) {
      const int border = 4;
      frame = QMargins(border, style()->pixelMetric(QStyle::PM_TitleBarHeight) + border, border,
                       border);
    }
    const QRect area = screen->availableGeometry() - frame;
    wanted.setSize(wanted.size().boundedTo(area.size()));
    if (wanted.right() > area.right()) wanted.moveRight(area.right());
    if (wanted.bottom() > area.bottom()) wanted.moveBottom(area.bottom());
    if (wanted.left() < area.left()) wanted.moveLeft(area.left());
    if (wanted.top() < area.top()) wanted.moveTop(area.top());
  }
  resize(wanted.size());
  move(wanted.topLeft() - QPoint(frame.left(), frame.top()));  // the frame's corner
}

void TQXVantor::mouseDoubleClickEvent(QMouseEvent* event) {
  // Only the free area of the window: its own background and that of the top
  // row between the controls; a double click on a control or a page is theirs.
  QWidget* under = childAt(event->position().toPoint());
  if (event->button() == Qt::LeftButton && (under == nullptr || under == ui_->TopRow)) {
    FormDblClick();
    event->accept();
    return;
  }
  QWidget::mouseDoubleClickEvent(event);
}

void TQXVantor::FormDblClick() {
  runGuarded(this, [this] {
    AccessControl& access = device_->access;
    if (!access.FormDblClick()) return;  // logged out
    sgnf_->exec();
    // OK or Cancel: the text typed is compared either way.
    access.passwordDialogClosed(sgnf_->password().toStdString());
  });
}

void TQXVantor::CallFWClick() {
  runGuarded(this, [this] {
    vantor::CallFWClick(device_->connection, [this](const std::string& host) {
      repaintNow();
      return firm_->run(host);
    });
  });
}

void TQXVantor::repaintNow() { repaint_->flush(); }
int TQXVantor::repaintCount() const { return repaint_->paints(); }

void TQXVantor::repaintAreas(uint32_t areas) {
  if (areas & (bit(Area::StatusBar) | bit(Area::ErrorBar))) paintBars();
  topRow_->repaintAreas(areas);
  deb_->repaintAreas(areas);
  qx7_->repaintAreas(areas);
  peso_->repaintAreas(areas);
  systemBin_->repaintAreas(areas);
  parTables_->repaintAreas(areas);
  printer_->repaintAreas(areas);
  reg_->repaintAreas(areas);
  products_->repaintAreas(areas);
  login_->repaintAreas(areas);
  if (areas & bit(Area::Access)) access_->apply(device_->access.level());
}

void TQXVantor::paintBars() {
  const Shell& s = device_->shell;
  for (int i = 0; i < ui_->StatusBar->count(); ++i)
    ui_->StatusBar->setText(i, QString::fromStdString(s.statusBar.at(static_cast<size_t>(i))));
  for (int i = 0; i < ui_->ErrorBar->count(); ++i)
    ui_->ErrorBar->setText(i, QString::fromStdString(s.errorBar.at(static_cast<size_t>(i))));
}

}  // namespace vantor
