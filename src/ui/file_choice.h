#pragma once
// The window's file dialogs, "Save" and "Open": a title that says what is
// saved or loaded, the filters "txt" and "csv" and "All files" ("hex" alone
// for firmware), no extension added to the name the user types, and a start
// in the folder last used for that kind of file (the current folder the first
// time, or when that folder is gone). The chosen path goes to the core, which
// reads or writes it.
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>

#include "ui/window_settings.h"

class QWidget;

namespace vantor {

enum class FileDialogKind { Save, Open };

// Everything a dialog is opened with.
struct FileDialogRequest {
  FileDialogKind mode;
  FileKind kind;
  QString title;        // "Save the parameter tables"
  QStringList filters;  // "txt (*.txt)", ..., "All files (*)"
  QString folder;       // where it starts
};

// The path chosen, nullopt when the dialog was cancelled. The folder of a
// chosen path is remembered for the kind.
std::optional<std::string> chooseFile(QWidget* owner, WindowSettings& settings, FileDialogKind mode,
                                      FileKind kind);

// How the path is chosen; replaced by tests that must not block on a modal
// dialog. An empty chooser puts the dialog back.
using FileChooser =
    std::function<std::optional<QString>(QWidget* owner, const FileDialogRequest& request)>;
void setFileChooser(FileChooser chooser);

}  // namespace vantor
