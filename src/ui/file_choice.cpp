#include "ui/file_choice.h"

#include <QFileDialog>

namespace vantor {

namespace {

std::optional<QString> runDialog(QWidget* owner, FileDialogKind kind) {
  QFileDialog dialog(owner, QString(), QStringLiteral("."),
                     QStringLiteral("txt (*.txt);;csv (*.csv)"));
  dialog.setAcceptMode(kind == FileDialogKind::Save ? QFileDialog::AcceptSave
                                                    : QFileDialog::AcceptOpen);
  dialog.setFileMode(kind == FileDialogKind::Save ? QFileDialog::AnyFile
                                                  : QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(QString());  // the name is used as typed
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front();
}

FileChooser& chooser() {
  static FileChooser current = runDialog;
  return current;
}

}  // namespace

std::optional<std::string> chooseFile(QWidget* owner, FileDialogKind kind) {
  const std::optional<QString> path = chooser()(owner, kind);
  if (!path || path->isEmpty()) return std::nullopt;
  return path->toStdString();
}

void setFileChooser(FileChooser c) { chooser() = c ? std::move(c) : FileChooser(runDialog); }

}  // namespace vantor
