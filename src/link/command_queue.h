#pragma once
// The first-in-first-out queue of pending command codes of the main port.
// It holds codes only; each request's parameters are read when it is built.
// A full queue drops a code without a word.
#include "link/code_ring.h"

namespace vantor {

using CmdQueue = CodeRing<100>;

}  // namespace vantor
