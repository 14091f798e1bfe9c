#include "ui/file_choice.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace vantor {

namespace {

QString titleOf(FileDialogKind mode, FileKind kind) {
  const bool save = mode == FileDialogKind::Save;
  switch (kind) {
    case FileKind::ParTables:
      return save ? QStringLiteral("Save the parameter tables")
                  : QStringLiteral("Load the parameter tables");
    case FileKind::BlockBackup:
      return save ? QStringLiteral("Save a block backup") : QStringLiteral("Load a block backup");
    case FileKind::TrafficLog:
      return QStringLiteral("Save the traffic log");
    case FileKind::Label:
      return save ? QStringLiteral("Save a label") : QStringLiteral("Load a label");
    case FileKind::Products:
      return save ? QStringLiteral("Save the products") : QStringLiteral("Load the products");
    case FileKind::Firmware:
      return QStringLiteral("Open the firmware file");
    case FileKind::TraceRecord:
      return QStringLiteral("Record the weight trace");
    case FileKind::TraceExport:
      return QStringLiteral("Export the weight trace");
    case FileKind::Snapshot:
      return save ? QStringLiteral("Save a snapshot into a new folder")
                  : QStringLiteral("Restore a snapshot: its snapshot.json");
  }
  return {};
}

std::optional<QString> runDialog(QWidget* owner, const FileDialogRequest& request) {
  QFileDialog dialog(owner, request.title, request.folder);
  dialog.setNameFilters(request.filters);
  const bool save = request.mode == FileDialogKind::Save;
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(QString());  // the name is used as typed
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front();
}

FileChooser& chooser() {
  static FileChooser current = runDialog;
  return current;
}

}  // namespace

std::optional<std::string> chooseFile(QWidget* owner, WindowSettings& settings, FileDialogKind mode,
                                      FileKind kind) {
  const QString remembered = settings.folder(kind);
  const FileDialogRequest request{
      mode, kind, titleOf(mode, kind),
      kind == FileKind::Firmware ? QStringList{QStringLiteral("hex (*.hex)")}
      : kind == FileKind::Snapshot && mode == FileDialogKind::Open
          ? QStringList{QStringLiteral("snapshot (snapshot.json)"), QStringLiteral("All files (*)")}
          : QStringList{QStringLiteral("txt (*.txt)"), QStringLiteral("csv (*.csv)"),
                        QStringLiteral("All files (*)")},
      !remembered.isEmpty() && QDir(remembered).exists() ? remembered : QDir::currentPath()};
  const std::optional<QString> path = chooser()(owner, request);
  if (!path || path->isEmpty()) return std::nullopt;
  settings.setFolder(kind, QFileInfo(*path).absolutePath());
  return path->toStdString();
}

void setFileChooser(FileChooser c) { chooser() = c ? std::move(c) : FileChooser(runDialog); }

}  // namespace vantor
