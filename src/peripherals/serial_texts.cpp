#include "peripherals/serial_texts.h"

#include "link/text_format.h"
#include "link/tx_frame.h"

namespace vantor {

RxBuffer decodeRxBuffer(PayloadReader& payload) {
  RxBuffer buffer{};
  for (size_t i = 0; i < kRxBufferBytes; ++i) buffer[i] = payload.u8(i);
  return buffer;
}

std::string rxText(const RxBuffer& buffer) {
  std::string text;
  for (uint8_t b : buffer) {
    if (b == 0) break;
    text.push_back(static_cast<char>(b));
  }
  return text;
}

std::vector<std::string> memo3Lines(const RxBuffer& buffer) {
  constexpr size_t kPerLine = 16;
  std::vector<std::string> lines{rxText(buffer), ""};
  for (size_t at = 0; at < kRxBufferBytes; at += kPerLine)
    lines.push_back(hexGroups(ByteView(buffer).subspan(at, kPerLine)));
  return lines;
}

std::string dateStrText(PayloadReader& payload) {
  // Payload offsets in the order they are shown; -1 is a separator.
  static constexpr struct {
    int offset;
    char separator;
  } kOrder[] = {{8, 0},    {9, 0},    {-1, ':'}, {10, 0}, {11, 0},   {-1, ':'}, {12, 0},
                {13, 0},   {-1, ' '}, {0, 0},    {1, 0},  {-1, '-'}, {2, 0},    {3, 0},
                {-1, '-'}, {4, 0},    {5, 0},    {6, 0},  {7, 0}};
  std::string text;
  bool ended = false;
  payload.u8(kClockReplyBytes - 1);  // the layout's full length, for the short-reply check
  for (const auto& part : kOrder) {
    if (part.offset < 0) {
      if (!ended) text.push_back(part.separator);
      continue;
    }
    const uint8_t b = payload.u8(static_cast<size_t>(part.offset));
    if (b == 0) ended = true;
    if (!ended) text.push_back(static_cast<char>(b));
  }
  return text;
}

std::array<uint8_t, kClockRequestBytes> clockRequest(const LocalTime& t) {
  const bool valid = t.day >= 1 && t.day <= 31 && t.month >= 1 && t.month <= 12 && t.year >= 0 &&
                     t.year <= 9999 && t.hour >= 0 && t.hour <= 23 && t.minute >= 0 &&
                     t.minute <= 59 && t.second >= 0 && t.second <= 60;
  if (!valid)
    throw RequestRefused(format("Clock not set: the PC's time %d-%d-%d %d:%d:%d is not valid",
                                t.year, t.month, t.day, t.hour, t.minute, t.second));
  const std::string date = format("%02d%02d%04d", t.day, t.month, t.year);
  const std::string time = format("%02d%02d%02d", t.hour, t.minute, t.second);
  std::array<uint8_t, kClockRequestBytes> out{};
  for (size_t i = 0; i < 8; ++i) out[i] = static_cast<uint8_t>(date[i]);
  for (size_t i = 0; i < 6; ++i) out[9 + i] = static_cast<uint8_t>(time[i]);
  return out;
}

}  // namespace vantor
