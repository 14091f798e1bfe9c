#pragma once
// The colour boxes DebFl, MsFl and SlFl: red, green or the button face.
#include "link/shell.h"

class QLabel;

namespace vantor {

void paintIndicator(QLabel* box, Colour colour);

}  // namespace vantor
