#pragma once
// IntegratorQueue: the pending outgoing integrator message codes, first in
// first out, at most ten. A code appended to a full queue is dropped and the
// caller is told, so it can say so.
#include "link/code_ring.h"

namespace vantor {

using IntegratorQueue = CodeRing<10>;

}  // namespace vantor
