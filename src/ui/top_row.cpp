#include "ui/top_row.h"

#include <QSignalBlocker>

#include "ui/confirm.h"
#include "ui/guarded.h"
#include "ui/indicator.h"
#include "ui/repaint_scheduler.h"
#include "ui_tqxvantor.h"

namespace vantor {

TopRow::TopRow(Ui::TQXVantor& ui, Device& device, QWidget* owner)
    : QObject(owner), ui_(ui), device_(device), owner_(owner) {
  Connection& c = device_.connection;
  auto guard = [this](auto handler) { return [this, handler] { runGuarded(owner_, handler); }; };

  // The model takes every edit as it happens; the request reads it later.
  connect(ui_.Host, &QLineEdit::textEdited, this, [this, &c](const QString& text) {
    runGuarded(owner_, [&] { c.controls.host = text.toStdString(); });
  });
  connect(ui_.RecOpen, &QCheckBox::toggled, this,
          [this, &c](bool on) { runGuarded(owner_, [&] { c.controls.recOpen = on; }); });
  connect(ui_.MobOpen, &QCheckBox::toggled, this,
          [this, &c](bool on) { runGuarded(owner_, [&] { c.controls.mobOpen = on; }); });
  connect(ui_.LanOn, &QPushButton::clicked, this, guard([&c] { c.LanOnClick(); }));
  // Enter in Host connects, as "Connect" does.
  connect(ui_.Host, &QLineEdit::returnPressed, this, guard([&c] { c.LanOnClick(); }));
  connect(ui_.LanOff, &QPushButton::clicked, this, guard([&c] { c.LanOffClick(); }));
  connect(ui_.Reset, &QPushButton::clicked, this, guard([this, &c] {
            const Confirmation restart{
                QStringLiteral("Reset the device"),
                QStringLiteral("Restarts the device at %1. The line it controls stops until the "
                               "device is back up.")
                    .arg(QString::fromStdString(c.controls.host)),
                QStringLiteral("Reset")};
            if (confirm(owner_, restart)) c.ResetClick();
          }));
  connect(ui_.SpeedClk, &QSlider::valueChanged, this,
          [this, &c](int position) { runGuarded(owner_, [&] { c.SpeedClkChange(position); }); });

  // A radio group runs its click handler whenever its item changes.
  const std::pair<QRadioButton*, PollMode> items[] = {{ui_.SelAutoOff, PollMode::Off},
                                                      {ui_.SelAutoDeb, PollMode::Deb},
                                                      {ui_.SelAutoPeso, PollMode::Peso},
                                                      {ui_.SelAutoBarSim, PollMode::BarSim}};
  for (const auto& [button, mode] : items) {
    connect(button, &QRadioButton::toggled, this, [this, &c, mode = mode](bool checked) {
      if (checked) runGuarded(owner_, [&] { c.SelAutoClick(mode); });
    });
  }
}

void TopRow::repaintAreas(uint32_t areas) {
  if (areas & bit(Area::LinkControls)) paintLinkControls();
  if (areas & bit(Area::Indicators)) paintIndicator(ui_.DebFl, device_.shell.debFl);
}

void TopRow::paintLinkControls() {
  const ConnectionControls& m = device_.connection.controls;
  const QString host = QString::fromStdString(m.host);
  // Never overwrite the field while the user is typing in it.
  if (ui_.Host->text() != host && !ui_.Host->hasFocus()) ui_.Host->setText(host);
  QRadioButton* const items[] = {ui_.SelAutoOff, ui_.SelAutoDeb, ui_.SelAutoPeso,
                                 ui_.SelAutoBarSim};
  QRadioButton* selected = items[static_cast<int>(m.selAuto)];
  if (!selected->isChecked()) {
    const QSignalBlocker block(selected);  // the model already holds the mode
    selected->setChecked(true);
  }
  const QString label3 = QString::fromStdString(m.label3);
  if (ui_.Label3->text() != label3) ui_.Label3->setText(label3);
  if (ui_.SpeedClk->value() != m.speedClk) {
    const QSignalBlocker block(ui_.SpeedClk);
    ui_.SpeedClk->setValue(m.speedClk);
  }
  if (ui_.RecOpen->isChecked() != m.recOpen) ui_.RecOpen->setChecked(m.recOpen);
  if (ui_.MobOpen->isChecked() != m.mobOpen) ui_.MobOpen->setChecked(m.mobOpen);
}

}  // namespace vantor
