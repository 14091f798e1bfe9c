#pragma once
// Puts a core text into a widget only when it differs, so a repaint does not
// disturb a selection or trigger a layout pass for nothing.
#include <QString>
#include <string>

namespace vantor {

template <typename Widget>
void setIfChanged(Widget* widget, const std::string& text) {
  const QString shown = QString::fromStdString(text);
  if (widget->text() != shown) widget->setText(shown);
}

}  // namespace vantor
