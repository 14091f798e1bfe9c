#pragma once

// The weighing module's counters (command 34): six uint16 words, in order
// readings, overweights, idle cycles, module state, idle checks and idle
// overruns. They count up with the time the device has been on.

#include <cstdint>

#include "frame_codec.h"

namespace rwsim {

Bytes moduleCounters(std::uint64_t uptimeMs);

}  // namespace rwsim
