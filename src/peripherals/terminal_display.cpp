#include "peripherals/terminal_display.h"

namespace vantor {

DisplayLines decodeDisplay(PayloadReader& payload) {
  DisplayLines lines;
  for (size_t i = 0; i < kDisplayLines; ++i)
    lines[i] = payload.text(i * kDisplaySlot, kDisplayColumns);
  payload.u8(kDisplayBytes - 1);  // the layout's full length, for the short-reply check
  return lines;
}

}  // namespace vantor
