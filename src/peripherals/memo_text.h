#pragma once
// Adds a text to a memo as lines: each line break starts a new line (a CR
// before it is dropped), as a memo shows a text added in one piece.
#include <string_view>

#include "link/bounded_log.h"

namespace vantor {

void appendMemoText(BoundedLog& memo, std::string_view text);

}  // namespace vantor
