#include "ui/traffic_view.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "config/file_bytes.h"
#include "ui/file_choice.h"
#include "ui/guarded.h"

namespace vantor {

TrafficView::TrafficView(Device& device, WindowSettings* settings, QWidget* parent)
    : QGroupBox(QStringLiteral("Traffic"), parent), device_(device), settings_(settings) {
  setObjectName(QStringLiteral("GroupTraffic"));
  auto* v = new QVBoxLayout(this);
  auto* buttons = new QHBoxLayout;
  pause_ = new QPushButton(QStringLiteral("Pause"));
  pause_->setObjectName(QStringLiteral("TrafficPause"));
  pause_->setCheckable(true);
  auto* clear = new QPushButton(QStringLiteral("Clear"));
  clear->setObjectName(QStringLiteral("TrafficClear"));
  auto* saveButton = new QPushButton(QStringLiteral("Save..."));
  saveButton->setObjectName(QStringLiteral("TrafficSave"));
  saveButton->setVisible(settings_ != nullptr);
  buttons->addWidget(pause_);
  buttons->addWidget(clear);
  buttons->addWidget(saveButton);
  buttons->addStretch();
  v->addLayout(buttons);
  view_ = new QPlainTextEdit;
  view_->setObjectName(QStringLiteral("TrafficLog"));
  view_->setReadOnly(true);
  view_->setLineWrapMode(QPlainTextEdit::NoWrap);
  view_->setMaximumBlockCount(kShownLines);
  view_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  view_->setMinimumHeight(120);
  v->addWidget(view_);

  connect(pause_, &QPushButton::toggled, this, [this](bool on) { device_.traffic.setPaused(on); });
  connect(clear, &QPushButton::clicked, this, [this] {
    device_.traffic.clear();
    view_->clear();
  });
  connect(saveButton, &QPushButton::clicked, this,
          [this] { runGuarded(this, [this] { save(); }); });
}

void TrafficView::repaint() {
  const TrafficLog& log = device_.traffic;
  const size_t first = log.total() - log.size();
  shown_ = std::max(shown_, first);
  if (log.total() - shown_ > static_cast<size_t>(kShownLines)) shown_ = log.total() - kShownLines;
  for (; shown_ < log.total(); ++shown_)
    view_->appendPlainText(QString::fromStdString(TrafficLog::line(log[shown_ - first])));
}

void TrafficView::save() {
  const std::optional<std::string> path =
      chooseFile(this, *settings_, FileDialogKind::Save, FileKind::TrafficLog);
  if (!path) return;
  std::string error;
  if (!writeFileText(*path, device_.traffic.text(), error))
    showError(this, QString::fromStdString(error));
}

}  // namespace vantor
