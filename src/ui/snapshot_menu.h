#pragma once
// The window's "Snapshot" menu: "Save snapshot..." reads every part of the
// device into a new folder, "Restore snapshot..." checks a snapshot's files
// and writes them to the device, each with a progress dialog that can be
// cancelled between parts. The result is shown when the run ends.
#include <QObject>
#include <QString>
#include <memory>
#include <optional>
#include <string>

#include "app/device.h"
#include "app/snapshot_job.h"

class QMenuBar;
class QProgressDialog;
class QWidget;

namespace vantor {

class WindowSettings;

class SnapshotMenu : public QObject {
  Q_OBJECT

 public:
  // Puts the menu bar at the top of the window's layout.
  SnapshotMenu(QWidget* window, Device& device, WindowSettings& settings);
  ~SnapshotMenu() override;

  // The menu's actions, with the folder already chosen.
  void save(const std::string& dir);
  void restore(const std::string& dir);
  bool running() const { return job_ != nullptr; }
  // What the last run came to, as it was shown.
  const QString& result() const { return result_; }
  QProgressDialog* progressDialog() const { return progress_; }

 private:
  void begin(SnapshotRun::Goal goal, const std::string& dir);
  void replied(int code);
  void ended();

  QWidget* window_;
  Device& device_;
  WindowSettings& settings_;
  QMenuBar* bar_ = nullptr;
  QProgressDialog* progress_ = nullptr;
  std::unique_ptr<SnapshotJob> job_;
  std::optional<Subscription<int, ByteView>> replies_;
  std::optional<Subscription<const std::string&>> lines_;
  QString linesText_;
  QString result_;
};

}  // namespace vantor
