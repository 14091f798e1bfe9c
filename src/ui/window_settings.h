#pragma once
// The window's own settings, kept between runs in "vantor-window.ini" in the
// data directory: its geometry and, per kind of file, the folder its file
// dialog used last. The file lies beside the device settings record
// ("RW4000 Vantor8.10.ini"), whose fixed format it never touches.
#include <QByteArray>
#include <QSettings>
#include <QString>

namespace vantor {

// The kinds of file the window reads and writes; each keeps its own folder.
enum class FileKind {
  ParTables,
  BlockBackup,
  TrafficLog,
  Label,
  Products,
  Firmware,
  TraceRecord,
  TraceExport,
  Snapshot
};

class WindowSettings {
 public:
  static constexpr const char* kFileName = "vantor-window.ini";

  // dataDir: the data directory, with or without its trailing slash.
  explicit WindowSettings(const QString& dataDir);

  QString path() const { return settings_.fileName(); }

  // What QWidget::saveGeometry gave at the end of the last run; empty on the first.
  QByteArray geometry() const;
  void setGeometry(const QByteArray& geometry);

  // The folder of the file chosen last for this kind; empty when none was.
  QString folder(FileKind kind) const;
  void setFolder(FileKind kind, const QString& folder);

 private:
  QSettings settings_;
};

}  // namespace vantor
