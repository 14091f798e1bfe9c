#include "ui/reg_page.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <functional>

#include "ui/guarded.h"
#include "ui/repaint_scheduler.h"
#include "ui/show_text.h"

namespace vantor {

namespace {

QPlainTextEdit* fixedMemo(QWidget* parent, const char* name) {
  auto* memo = new QPlainTextEdit(parent);
  memo->setObjectName(QString::fromLatin1(name));
  memo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo->setMinimumSize(200, 120);
  return memo;
}

}  // namespace

RegPage::RegPage(Device& device, QWidget* parent) : QWidget(parent), device_(device) {
  setObjectName(QStringLiteral("RegPage"));
  Integrator& in = device_.integrator;
  auto* top = new QVBoxLayout(this);
  top->setContentsMargins(4, 4, 4, 4);

  auto* controlsRow = new QHBoxLayout;
  selReg_ = new QSpinBox(this);
  selReg_->setObjectName(QStringLiteral("SelReg"));
  selReg_->setRange(0, 2000);
  selReg_->setValue(in.controls.selReg);
  autoAck_ = new QCheckBox(QStringLiteral("AutoAck"), this);
  autoAck_->setObjectName(QStringLiteral("AutoAck"));
  autoAck_->setChecked(in.controls.autoAck);
  controlsRow->addWidget(new QLabel(QStringLiteral("SelReg"), this));
  controlsRow->addWidget(selReg_);
  controlsRow->addWidget(autoAck_);

  auto* panel4 = new QGroupBox(this);
  panel4->setObjectName(QStringLiteral("Panel4"));
  auto* p4 = new QHBoxLayout(panel4);
  const std::pair<const char*, const char*> buttons[] = {
      {"Wkp", "Wake Up"}, {"Button6", "551"}, {"Button7", "502"}, {"Button9", "Date/Time"}};
  const std::function<void()> clicks[] = {[&in] { in.WkpClick(); }, [&in] { in.Button6Click(); },
                                          [&in] { in.Button7Click(); },
                                          [&in] { in.Button9Click(); }};
  for (size_t i = 0; i < std::size(buttons); ++i) {
    auto* b = new QPushButton(QString::fromLatin1(buttons[i].second), panel4);
    b->setObjectName(QString::fromLatin1(buttons[i].first));
    p4->addWidget(b);
    connect(b, &QPushButton::clicked, this,
            [this, click = clicks[i]] { runGuarded(this, [&click] { click(); }); });
  }
  edit2_ = new QLineEdit(panel4);
  edit2_->setObjectName(QStringLiteral("Edit2"));
  edit2_->setReadOnly(true);
  edit2_->setMaximumWidth(50);
  p4->addWidget(edit2_);
  controlsRow->addWidget(panel4);

  auto* panelMob = new QGroupBox(this);
  panelMob->setObjectName(QStringLiteral("PanelMob"));
  auto* pm = new QHBoxLayout(panelMob);
  auto* testMob = new QPushButton(QStringLiteral("TestMob"), panelMob);
  testMob->setObjectName(QStringLiteral("TestMob"));
  mobValCmd_ = new QSpinBox(panelMob);
  mobValCmd_->setObjectName(QStringLiteral("MobValCmd"));
  mobValCmd_->setRange(500, 610);
  mobValCmd_->setValue(in.controls.mobValCmd);
  pm->addWidget(testMob);
  pm->addWidget(mobValCmd_);
  controlsRow->addWidget(panelMob);
  controlsRow->addStretch(1);
  top->addLayout(controlsRow);

  // Created hidden and never shown: the SelPeso queries of commands 20 and 35.
  selPeso_ = new QSpinBox(this);
  selPeso_->setObjectName(QStringLiteral("SelPeso"));
  selPeso_->setRange(0, 19999);
  selPeso_->hide();
  for (auto [name, text] : {std::pair{"RejPeso", "RejPeso"}, std::pair{"Button1", "GetVerP"}}) {
    auto* hidden = new QPushButton(QString::fromLatin1(text), this);
    hidden->setObjectName(QString::fromLatin1(name));
    hidden->hide();
    connect(hidden, &QPushButton::clicked, this, [this, &in, n = std::string(name)] {
      runGuarded(this, [&in, &n] { n == "RejPeso" ? in.RejPesoClick() : in.Button1Click(); });
    });
  }

  auto* memos = new QHBoxLayout;
  auto* memo2 = fixedMemo(this, "Memo2");
  auto* memo10 = fixedMemo(this, "Memo10");
  memo2_ = std::make_unique<MemoView>(memo2, kMemoLines);
  memo10_ = std::make_unique<MemoView>(memo10, kMemoLines);
  memos->addWidget(memo2, 1);
  memos->addWidget(memo10, 1);
  top->addLayout(memos, 1);

  connect(selReg_, &QSpinBox::valueChanged, this, [&in](int v) { in.controls.selReg = v; });
  connect(autoAck_, &QCheckBox::toggled, this, [&in](bool on) { in.controls.autoAck = on; });
  connect(mobValCmd_, &QSpinBox::valueChanged, this, [&in](int v) { in.controls.mobValCmd = v; });
  connect(selPeso_, &QSpinBox::valueChanged, this, [&in](int v) { in.controls.selPeso = v; });
  connect(testMob, &QPushButton::clicked, this,
          [this, &in] { runGuarded(this, [&in] { in.TestMobClick(); }); });
}

void RegPage::repaintAreas(uint32_t areas) {
  if (!(areas & bit(Area::Integrator))) return;
  const IntegratorControls& c = device_.integrator.controls;
  // SelReg and SelPeso return to 0 after an answer while AutoAck is off.
  if (selReg_->value() != c.selReg) selReg_->setValue(c.selReg);
  if (selPeso_->value() != c.selPeso) selPeso_->setValue(c.selPeso);
  setIfChanged(edit2_, c.edit2);
  memo2_->paint(c.memo2);
  memo10_->paint(c.memo10);
}

}  // namespace vantor
