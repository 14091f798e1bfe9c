#include "ui/login_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/guarded.h"
#include "ui/repaint_scheduler.h"
#include "ui/value_grid.h"

namespace vantor {

namespace {
using C = UserLoginsControls;
}  // namespace

LoginPage::LoginPage(Device& device, QWidget* parent) : QWidget(parent), device_(device) {
  setObjectName(QStringLiteral("LoginPage"));
  UserLogins& logins = device_.userLogins;
  auto* top = new QVBoxLayout(this);
  top->setContentsMargins(8, 8, 8, 8);
  auto* label = new QLabel(QStringLiteral("Lista de usuários:"), this);
  label->setObjectName(QStringLiteral("Label_ListaUsuarios"));
  top->addWidget(label);

  auto* row = new QHBoxLayout;
  grid_ = new ValueGrid(this);
  grid_->setObjectName(QStringLiteral("LoginUserTab"));
  grid_->setColumnCount(C::kColumns);
  grid_->setCellSize(kColumnWidths[0], kRowHeight);
  std::vector<std::string> numbers(C::kRows);
  grid_->setNames(numbers);
  for (int c = 0; c < C::kColumns; ++c) grid_->setColumnWidth(c, kColumnWidths[c]);
  for (int c = 1; c < C::kColumns; ++c) {  // row 0: fixed header cells
    grid_->item(0, c)->setFlags(Qt::ItemIsEnabled);
    grid_->item(0, c)->setBackground(palette().window());
  }
  // Passwords are typed in PswSel only: their column is never edited as text.
  for (int r = 1; r < C::kRows; ++r)
    grid_->item(r, C::kPasswordColumn)->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  grid_->setToolTip(QStringLiteral(
      "Logins (5 characters) and names (20) are edited here; click a password cell to type a "
      "new password (12 characters)"));
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  int width = 2 * grid_->frameWidth();
  for (int w : kColumnWidths) width += w;
  grid_->setFixedSize(width, grid_->fullHeight());
  row->addWidget(grid_, 0, Qt::AlignTop);

  auto* side = new QGridLayout;
  lSelUser_ = new QLineEdit(this);
  lSelUser_->setObjectName(QStringLiteral("LSelUser"));
  lSelUser_->setReadOnly(true);
  lSelUser_->setMaximumWidth(60);
  auto* setSelLog = new QPushButton(QStringLiteral("Set Sel User"), this);
  setSelLog->setObjectName(QStringLiteral("SetSelLog"));
  auto* getLogin = new QPushButton(QStringLiteral("Get All"), this);
  getLogin->setObjectName(QStringLiteral("GetLogin"));
  auto* setLogin = new QPushButton(QStringLiteral("Set All"), this);
  setLogin->setObjectName(QStringLiteral("SetLogin"));
  visSgn_ = new QCheckBox(QStringLiteral("VisSgn"), this);
  visSgn_->setObjectName(QStringLiteral("VisSgn"));
  visSgn_->setEnabled(false);  // enabled by the access level
  side->addWidget(lSelUser_, 0, 0);
  side->addWidget(setSelLog, 0, 1);
  side->addWidget(getLogin, 1, 0, 1, 2);
  side->addWidget(setLogin, 2, 0, 1, 2);
  side->addWidget(visSgn_, 3, 0, 1, 2);
  side->setRowStretch(4, 1);
  row->addLayout(side);
  row->addStretch(1);
  top->addLayout(row);
  top->addStretch(1);

  // Created hidden; shown over a password cell by a click in that column.
  pswSel_ = new QLineEdit(this);
  pswSel_->setObjectName(QStringLiteral("PswSel"));
  pswSel_->setEchoMode(QLineEdit::Password);
  pswSel_->setMaxLength(UserAccount::kPasswordMax);
  pswSel_->setFrame(false);
  QPalette light = pswSel_->palette();
  light.setColor(QPalette::Base, palette().color(QPalette::Light));
  pswSel_->setPalette(light);
  pswSel_->hide();

  auto guarded = [this](auto f) { return [this, f] { runGuarded(this, f); }; };
  connect(getLogin, &QPushButton::clicked, this, guarded([&logins] { logins.GetLoginClick(); }));
  connect(setLogin, &QPushButton::clicked, this, guarded([&logins] { logins.SetLoginClick(); }));
  connect(setSelLog, &QPushButton::clicked, this, guarded([&logins] { logins.SetSelLogClick(); }));
  connect(visSgn_, &QCheckBox::toggled, this,
          [this, &logins](bool on) { runGuarded(this, [&] { logins.VisSgnClick(on); }); });
  connect(grid_, &ValueGrid::valueCommitted, this,
          [this, &logins](int r, int c, const QString& text) {
            runGuarded(this, [&] { logins.setCell(r, c, text.toStdString()); });
          });
  connect(grid_, &QTableWidget::currentCellChanged, this, [this, &logins](int r, int) {
    runGuarded(this, [&] { logins.LoginUserTabSelectCell(r); });
  });
  connect(grid_, &QTableWidget::cellClicked, this, &LoginPage::cellClicked);
  connect(pswSel_, &QLineEdit::editingFinished, this, [this, &logins] {
    runGuarded(this, [&] {
      const bool typed = pswSel_->isModified();
      pswSel_->setModified(false);
      logins.PswSelExit(pswSel_->text().toStdString(), typed);
    });
  });
}

void LoginPage::cellClicked(int row, int column) {
  if (row < 1 || column < 1) return;  // the fixed header row and number column
  runGuarded(this, [&] {
    const QRect cell = grid_->visualRect(grid_->model()->index(row, column));
    const QPoint viewport = grid_->viewport()->geometry().topLeft();
    GridCellPlace place;
    place.gridLeft = grid_->geometry().left();
    place.gridTop = grid_->geometry().top();
    place.cellLeft = viewport.x() + cell.left();
    place.cellTop = viewport.y() + cell.top();
    place.cellWidth = cell.width();
    place.cellHeight = cell.height();
    place.lineWidth = 0;  // Qt's cell rectangles already end at their grid lines
    device_.userLogins.LoginUserTabClick(column, place);
    placeOverlay();
    if (pswSel_->isVisible()) {
      pswSel_->clear();
      pswSel_->setModified(false);
      pswSel_->setFocus(Qt::MouseFocusReason);
    }
  });
}

void LoginPage::placeOverlay() {
  const PswSelOverlay& o = device_.userLogins.controls.pswSel;
  if (o.visible) {
    pswSel_->setGeometry(o.left, o.top, o.width, o.height);
    pswSel_->raise();
  }
  pswSel_->setVisible(o.visible);
}

void LoginPage::repaintAreas(uint32_t areas) {
  if (!(areas & bit(Area::UserLogins))) return;
  const UserLoginsControls& c = device_.userLogins.controls;
  for (int r = 0; r < C::kRows; ++r)
    for (int col = 1; col < C::kColumns; ++col)
      grid_->setText(r, col, c.grid[static_cast<size_t>(r)][static_cast<size_t>(col)]);
  for (int r = 1; r < C::kRows; ++r) {
    const QString number = QString::fromStdString(c.grid[static_cast<size_t>(r)][0]);
    if (grid_->item(r, 0)->text() != number) grid_->item(r, 0)->setText(number);
  }
  grid_->setCurrent(c.current);
  const QString sel = QString::fromStdString(c.lSelUser);
  if (lSelUser_->text() != sel) lSelUser_->setText(sel);
  if (visSgn_->isChecked() != c.visSgn) visSgn_->setChecked(c.visSgn);
  placeOverlay();
}

}  // namespace vantor
