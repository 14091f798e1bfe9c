#include "module_counters.h"

#include "le_bytes.h"

namespace rwsim {

Bytes moduleCounters(std::uint64_t uptimeMs) {
  const std::uint64_t readings = uptimeMs / 100;  // ten per second
  Bytes out;
  for (std::uint64_t word :
       {readings, readings / 500, readings / 7, std::uint64_t{2}, readings / 40, readings / 5000}) {
    appendLe16(out, static_cast<std::uint16_t>(word));
  }
  return out;
}

}  // namespace rwsim
