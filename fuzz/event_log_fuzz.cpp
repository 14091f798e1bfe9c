// The event-log decoder over any image and base address. The input is packed
// so that short inputs reach every part of the log area: bytes 0..3 the base
// address, 4..7 the end address word, then five bytes per event (identifier,
// time word) placed at the event's offsets in an image of the full 501 000
// bytes; whatever the end address says, the count may exceed the events given
// (their bytes are zero). The text always has the two heading lines and one
// line per counted event, each ended by CR LF, and the count stays within the
// identifier array.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "monitor/event_log_text.h"

using namespace vantor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 8) return 0;
  const uint32_t base = data[0] | data[1] << 8 | data[2] << 16 | uint32_t{data[3]} << 24;
  static Bytes image(kLogImageBytes, 0);
  std::fill(image.begin(), image.end(), 0);
  std::copy(data + 4, data + 8, image.begin() + 4);
  const size_t events = std::min<size_t>((size - 8) / 5, kLogMaxEvents);
  for (size_t i = 0; i < events; ++i) {
    const uint8_t* e = data + 8 + 5 * i;
    image[12 + i] = e[0];
    std::copy(e + 1, e + 5, image.begin() + 100012 + 4 * static_cast<std::ptrdiff_t>(i));
  }
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
