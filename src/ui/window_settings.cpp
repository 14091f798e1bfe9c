#include "ui/window_settings.h"

#include <QDir>

namespace vantor {

namespace {
QString folderKey(FileKind kind) {
  switch (kind) {
    case FileKind::ParTables:
      return QStringLiteral("folders/parameterTables");
    case FileKind::BlockBackup:
      return QStringLiteral("folders/blockBackup");
    case FileKind::TrafficLog:
      return QStringLiteral("folders/trafficLog");
    case FileKind::Label:
      return QStringLiteral("folders/label");
    case FileKind::Products:
      return QStringLiteral("folders/products");
    case FileKind::Firmware:
      return QStringLiteral("folders/firmware");
    case FileKind::TraceRecord:
      return QStringLiteral("folders/traceRecord");
    case FileKind::TraceExport:
      return QStringLiteral("folders/traceExport");
    case FileKind::Snapshot:
      return QStringLiteral("folders/snapshot");
  }
  return QStringLiteral("folders/other");
}
}  // namespace

WindowSettings::WindowSettings(const QString& dataDir)
    : settings_(QDir(dataDir).filePath(QString::fromLatin1(kFileName)), QSettings::IniFormat) {}

QByteArray WindowSettings::geometry() const {
  return settings_.value(QStringLiteral("window/geometry")).toByteArray();
}

// Each value is written at once, so that a run that ends abruptly keeps it.
void WindowSettings::setGeometry(const QByteArray& geometry) {
  settings_.setValue(QStringLiteral("window/geometry"), geometry);
  settings_.sync();
}

QString WindowSettings::folder(FileKind kind) const {
  return settings_.value(folderKey(kind)).toString();
}

void WindowSettings::setFolder(FileKind kind, const QString& folder) {
  settings_.setValue(folderKey(kind), folder);
  settings_.sync();
}

}  // namespace vantor
