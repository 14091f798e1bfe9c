#pragma once
// The window's two file dialogs: "Save" and "Open", starting in the current
// folder, the filters "txt" and "csv", and no extension added to the name
// the user types. The chosen path goes to the core, which reads or writes it.
#include <QString>
#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace vantor {

enum class FileDialogKind { Save, Open };

// The path chosen, nullopt when the dialog was cancelled.
std::optional<std::string> chooseFile(QWidget* owner, FileDialogKind kind);

// How the path is chosen; replaced by tests that must not block on a modal dialog.
using FileChooser = std::function<std::optional<QString>(QWidget* owner, FileDialogKind kind)>;
void setFileChooser(FileChooser chooser);

}  // namespace vantor
