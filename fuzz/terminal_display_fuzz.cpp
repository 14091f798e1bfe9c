// The display terminal's screen (reply 3) fed any payload: 16 lines of at
// most 30 characters, none holding a zero byte, each the start of its slot,
// and the reader never past the payload.
#include <cstdint>
#include <cstdlib>

#include "peripherals/terminal_display.h"

using namespace vantor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const ByteView payload(data, size);
  PayloadReader reader(payload);
  const DisplayLines lines = decodeDisplay(reader);
  if (reader.wanted() != kDisplayBytes) std::abort();
  if (reader.wasShort() != (size < kDisplayBytes)) std::abort();
  for (size_t i = 0; i < kDisplayLines; ++i) {
    const std::string& line = lines[i];
    if (line.size() > kDisplayColumns) std::abort();
    for (size_t k = 0; k < line.size(); ++k) {
      const size_t at = i * kDisplaySlot + k;
      if (at >= size || line[k] == '\0' || static_cast<uint8_t>(line[k]) != data[at]) std::abort();
    }
    // The line ends where its slot has a zero byte, or ends, or at 30 characters.
    const size_t end = i * kDisplaySlot + line.size();
    if (line.size() < kDisplayColumns && end < size && data[end] != 0) std::abort();
  }
  return 0;
}
