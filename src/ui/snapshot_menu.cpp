#include "ui/snapshot_menu.h"

#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressDialog>
#include <QWidget>

#include "ui/file_choice.h"
#include "ui/guarded.h"

namespace vantor {

SnapshotMenu::SnapshotMenu(QWidget* window, Device& device, WindowSettings& settings)
    : QObject(window), window_(window), device_(device), settings_(settings) {
  bar_ = new QMenuBar(window);
  bar_->setObjectName(QStringLiteral("SnapshotMenuBar"));
  QMenu* menu = bar_->addMenu(QStringLiteral("Snapshot"));
  menu->setObjectName(QStringLiteral("SnapshotMenu"));
  QAction* save = menu->addAction(QStringLiteral("Save snapshot..."));
  save->setObjectName(QStringLiteral("SaveSnapshot"));
  QAction* restore = menu->addAction(QStringLiteral("Restore snapshot..."));
  restore->setObjectName(QStringLiteral("RestoreSnapshot"));
  if (window->layout()) window->layout()->setMenuBar(bar_);

  connect(save, &QAction::triggered, this, [this] {
    if (const auto dir = chooseFile(window_, settings_, FileDialogKind::Save, FileKind::Snapshot))
      this->save(*dir);
  });
  connect(restore, &QAction::triggered, this, [this] {
    const auto manifest = chooseFile(window_, settings_, FileDialogKind::Open, FileKind::Snapshot);
    if (!manifest) return;
    // The snapshot is the folder of the manifest chosen.
    const size_t slash = manifest->find_last_of('/');
    this->restore(slash == std::string::npos ? "." : manifest->substr(0, slash + 1));
  });
}

SnapshotMenu::~SnapshotMenu() = default;

void SnapshotMenu::save(const std::string& dir) { begin(SnapshotRun::Goal::Save, dir); }
void SnapshotMenu::restore(const std::string& dir) { begin(SnapshotRun::Goal::Restore, dir); }

void SnapshotMenu::begin(SnapshotRun::Goal goal, const std::string& dir) {
  if (job_) return;
  if (!device_.connection.lan2().connected() || device_.liveStatus.version().empty()) {
    result_ = QStringLiteral("Not connected: connect to the device first.");
    showError(window_, result_);
    return;
  }
  auto job = std::make_unique<SnapshotJob>(
      device_, goal, SnapshotJob::Options{dir, {}, false, "vantor " VANTOR_VERSION});
  std::string error;
  if (!job->prepare(error)) {
    result_ = QString::fromStdString(error);
    showError(window_, result_);
    return;
  }
  job_ = std::move(job);
  linesText_.clear();
  lines_.emplace(job_->run().onLine, [this](const std::string& line) {
    linesText_ += QString::fromStdString(line) + QLatin1Char('\n');
  });
  replies_.emplace(device_.channel.onReply, [this](int code, ByteView) { replied(code); });

  const bool saving = goal == SnapshotRun::Goal::Save;
  progress_ = new QProgressDialog(
      saving ? QStringLiteral("Saving a snapshot...") : QStringLiteral("Restoring a snapshot..."),
      QStringLiteral("Cancel"), 0, static_cast<int>(job_->parts().size()), window_);
  progress_->setObjectName(QStringLiteral("SnapshotProgress"));
  progress_->setWindowTitle(saving ? QStringLiteral("Save snapshot")
                                   : QStringLiteral("Restore snapshot"));
  progress_->setMinimumDuration(0);
  progress_->setAutoClose(false);
  progress_->setAutoReset(false);
  connect(progress_, &QProgressDialog::canceled, this, [this] {
    if (!job_) return;
    job_->cancel();
    progress_->setLabelText(QStringLiteral("Cancelling after the part under way..."));
    if (job_->done()) ended();
  });
  progress_->show();
  job_->start();
}

void SnapshotMenu::replied(int code) {
  if (!job_) return;
  job_->replied(code);
  if (job_->done()) return ended();
  const std::string text = job_->run().progress();
  if (!text.empty() && !job_->run().cancelled()) {
    progress_->setLabelText(QString::fromStdString(text));
    progress_->setValue(static_cast<int>(job_->run().partsDone()));
  }
}

void SnapshotMenu::ended() {
  replies_.reset();
  lines_.reset();
  const bool failed = job_->failed();
  QString text = linesText_;
  if (failed)
    text += QString::fromStdString(job_->error());
  else if (job_->run().readBackDiffers())
    text += QStringLiteral("The device holds other values than it was sent.");
  else
    text += QStringLiteral("Done.");
  result_ = text;
  job_.reset();
  progress_->deleteLater();
  progress_ = nullptr;
  // Shown once the reply that ended the run has been handled.
  QMetaObject::invokeMethod(
      window_,
      [owner = window_, text, failed] {
        if (failed) return showError(owner, text);
        auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("Snapshot"), text,
                                    QMessageBox::Ok, owner);
        box->setObjectName(QStringLiteral("SnapshotResult"));
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
      },
      Qt::QueuedConnection);
}

}  // namespace vantor
