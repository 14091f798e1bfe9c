#include "link/text_format.h"

#include <cstdio>
#include <vector>

namespace vantor {

std::string format(const char* fmt, ...) {
  char small[256];
  va_list args;
  va_start(args, fmt);
  va_list again;
  va_copy(again, args);
  const int needed = std::vsnprintf(small, sizeof small, fmt, args);
  va_end(args);
  std::string out;
  if (needed < 0) {
    va_end(again);
    return out;
  }
  if (static_cast<size_t>(needed) < sizeof small) {
    out.assign(small, static_cast<size_t>(needed));
  } else {
    std::vector<char> big(static_cast<size_t>(needed) + 1);
    std::vsnprintf(big.data(), big.size(), fmt, again);
    out.assign(big.data(), static_cast<size_t>(needed));
  }
  va_end(again);
  return out;
}

}  // namespace vantor
