#pragma once
// Every command code of the main port and what it is for. Which feature builds a
// request or handles a reply is bound by the composition root; a code without a
// builder goes out as a bare frame, a reply without a handler only advances the
// queue.
#include <span>

namespace vantor {

struct CommandRow {
  int code;
  const char* purpose;
};

std::span<const CommandRow> commandCatalogue();

// The row of a code, or nullptr for a code not in the catalogue.
const CommandRow* findCommand(int code);

}  // namespace vantor
