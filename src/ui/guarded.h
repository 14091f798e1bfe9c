#pragma once
// Every handler of the window runs inside runGuarded: an exception that the
// core throws for the user ("the application's standard error message") is
// shown in a message box and ends only that handler; the window goes on.
#include <QString>
#include <functional>

class QWidget;

namespace vantor {

void runGuarded(QWidget* owner, const std::function<void()>& handler);

// Shows the application's standard error message.
void showError(QWidget* owner, const QString& text);

// How the message is shown; replaced by tests that must not block on a modal box.
using ErrorPresenter = std::function<void(QWidget* owner, const QString& text)>;
void setErrorPresenter(ErrorPresenter presenter);

}  // namespace vantor
