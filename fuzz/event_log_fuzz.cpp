// The event-log decoder fed any image and base address: the first four input
// bytes are the base address, the rest the log area from it (a short image
// reads as zeros past its end). The text always has the two heading lines and
// one line per counted event, each ended by CR LF, and the count stays within
// the identifier array.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "monitor/event_log_text.h"

using namespace vantor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const uint32_t base = data[0] | data[1] << 8 | data[2] << 16 | uint32_t{data[3]} << 24;
  const ByteView image(data + 4, size - 4);
  const EventLogCount count = eventLogCount(image, base);
  if (count.used < 0 || count.used > kLogMaxEvents) std::abort();
  if (count.clamped() != (count.stated < 0 || count.stated > kLogMaxEvents)) std::abort();
  const std::string text = eventLogText(image, base, "id", "127.0.0.1");
  size_t lines = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\n') continue;
    if (i == 0 || text[i - 1] != '\r') std::abort();
    ++lines;
  }
  if (lines != static_cast<size_t>(count.used) + 2) std::abort();
  if (text.empty() || text.back() != '\n') std::abort();
  return 0;
}
