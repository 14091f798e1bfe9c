// The serial receive buffer (reply 1) and the clock (reply 6) fed any
// payload: Memo3 is the text line, an empty line and 16 hex lines of 64
// characters; DateStr is at most 19 characters with its separators in place.
#include <cstdint>
#include <cstdlib>

#include "peripherals/serial_texts.h"

using namespace vantor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const ByteView payload(data, size);
  PayloadReader rxReader(payload);
  const RxBuffer buffer = decodeRxBuffer(rxReader);
  if (rxReader.wanted() != kRxBufferBytes) std::abort();
  for (size_t i = 0; i < kRxBufferBytes; ++i)
    if (buffer[i] != (i < size ? data[i] : 0)) std::abort();
  const std::vector<std::string> memo = memo3Lines(buffer);
  if (memo.size() != 18 || memo[1] != "" || memo[0].size() > kRxBufferBytes) std::abort();
  if (memo[0].find('\0') != std::string::npos) std::abort();
  for (size_t r = 2; r < memo.size(); ++r)
    if (memo[r].size() != 64) std::abort();

  PayloadReader clockReader(payload);
  const std::string date = dateStrText(clockReader);
  if (clockReader.wanted() != kClockReplyBytes) std::abort();
  if (date.size() > 19 || date.find('\0') != std::string::npos) std::abort();
  const char separators[] = {':', ':', ' ', '-', '-'};
  const size_t at[] = {2, 5, 8, 11, 14};
  for (size_t i = 0; i < 5; ++i)
    if (date.size() > at[i] && date[at[i]] != separators[i]) std::abort();
  return 0;
}
