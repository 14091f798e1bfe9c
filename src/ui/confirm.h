#pragma once
// Asks before an action that overwrites what the device holds or restarts it:
// a modal question that names what is about to be overwritten and how much,
// with a button for the action and "Cancel". Cancel is the default button and
// Escape answers it, so a stray Enter never overwrites anything.
#include <QString>
#include <functional>

class QWidget;

namespace vantor {

struct Confirmation {
  QString title;    // the action: "Reset the device"
  QString text;     // what is about to be overwritten, and how much
  QString proceed;  // caption of the button that goes ahead: "Reset"
};

// True when the user chose to go ahead.
bool confirm(QWidget* owner, const Confirmation& question);

// How the question is asked; replaced by tests that must not block on a modal
// box. An empty presenter puts the dialog back.
using ConfirmPresenter = std::function<bool(QWidget* owner, const Confirmation& question)>;
void setConfirmPresenter(ConfirmPresenter presenter);

}  // namespace vantor
