#include "monitor/event_log_text.h"

#include <array>

#include "link/text_format.h"

namespace vantor {

namespace {

constexpr size_t kIdsOffset = 12;
constexpr size_t kTimesOffset = 100012;
constexpr uint32_t kMsPerDay = 86400000;

// Key names 0..15, output names 16..23, input names 24..27, print words 28, 29.
constexpr std::array<const char*, 30> kNames{"  0", "  8", "  5", " BK", "  7", "  4", "  2", "  1",
                                             "  3", "  6", "  9", "ENT", " RG", " UP", " LF", " DW",
                                             "RJT", "APL", "GRN", "RED", "  4", "  5", "  6", "  7",
                                             "BAL", "RJT", "  2", "APL", "INI", "FIN"};

uint8_t byteAt(ByteView image, size_t offset) { return offset < image.size() ? image[offset] : 0; }

uint32_t wordAt(ByteView image, size_t offset) {
  uint32_t v = 0;
  for (size_t k = 0; k < 4; ++k) v |= uint32_t{byteAt(image, offset + k)} << (8 * k);
  return v;
}

// The printf conversions of the lines, written straight into the text: a log
// of 100 000 events is decoded and written well within a tenth of a second.
// %Nu with `pad` ' ', %0Nu with '0'.
void putNumber(std::string& out, uint32_t v, int width, char pad) {
  char digits[10];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v != 0);
  for (int k = n; k < width; ++k) out += pad;
  while (n > 0) out += digits[--n];
}

// "%6d\tID:%02x\t"
void putIndexAndId(std::string& out, int i, uint8_t id) {
  static constexpr char kHex[] = "0123456789abcdef";
  putNumber(out, static_cast<uint32_t>(i), 6, ' ');
  out += "\tID:";
  out += kHex[id >> 4];
  out += kHex[id & 15];
  out += '\t';
}

void eventLine(std::string& out, int i, uint8_t id, uint32_t word, uint32_t& timeBase) {
  putIndexAndId(out, i, id);
  if (id == 0) {
    // "Time:%2u:%2u:%2u.%03u\t***RESET***": hours not reduced to a day.
    timeBase = word;
    out += "Time:";
    putNumber(out, word / 3600000, 2, ' ');
    out += ':';
    putNumber(out, word / 60000 % 60, 2, ' ');
    out += ':';
    putNumber(out, word / 1000 % 60, 2, ' ');
    out += '.';
    putNumber(out, word % 1000, 3, '0');
    out += "\t***RESET***\r\n";
    return;
  }
  if (id == 1) {
    // "Date:%2u/%2u/%4u\t*********": day, month, 16-bit year.
    out += "Date:";
    putNumber(out, word & 0xFF, 2, ' ');
    out += '/';
    putNumber(out, (word >> 8) & 0xFF, 2, ' ');
    out += '/';
    putNumber(out, word >> 16, 4, ' ');
    out += "\t*********\r\n";
    return;
  }
  // The prefix's time: "D:%2u T:%2u:%02u:%02u.%03u\t".
  const uint32_t t = word + timeBase;
  out += "D:";
  putNumber(out, t / kMsPerDay, 2, ' ');
  out += " T:";
  putNumber(out, t / 3600000 % 24, 2, ' ');
  out += ':';
  putNumber(out, t / 60000 % 60, 2, '0');
  out += ':';
  putNumber(out, t / 1000 % 60, 2, '0');
  out += '.';
  putNumber(out, t % 1000, 3, '0');
  out += '\t';
  if (id <= 3) {
    out += id == 2 ? " BarCode1" : " BarCode2";
  } else if (id <= 5) {
    out += "\t\t\t\tPrint ";
    out += kNames[24 + id];
  } else if (id == 6) {
    out += "\t\tPeso";
  } else if (id == 7) {
    out += " W UP";
  } else if (id <= 11) {
    out += "\tIN H ";
    out += kNames[id + 16];
  } else if (id <= 15) {
    out += "\tIN L ";
    out += kNames[id + 12];
  } else if (id <= 23) {
    out += "\t\t\tOUT H ";
    out += kNames[id];
  } else if (id <= 31) {
    out += "\t\t\tOUT L ";
    out += kNames[id - 8];
  } else if (id <= 47) {
    out += " KEY  ON ";
    out += kNames[id - 32];
  } else if (id <= 63) {
    out += " KEY OFF ";
    out += kNames[id - 48];
  }
  out += "\r\n";
}

}  // namespace

EventLogCount eventLogCount(ByteView image, uint32_t baseAddress) {
  EventLogCount c;
  c.stated = static_cast<int32_t>(wordAt(image, 4) - baseAddress - 12);
  c.used = c.stated < 0 ? 0 : (c.stated > kLogMaxEvents ? kLogMaxEvents : c.stated);
  return c;
}

std::string eventLogText(ByteView image, uint32_t baseAddress, const std::string& identification,
                         const std::string& host) {
  const EventLogCount count = eventLogCount(image, baseAddress);
  std::string out;
  out.reserve(static_cast<size_t>(count.used) * 48 + 128);
  out += identification;
  out += "\tIP:";
  out += host;
  out += "\r\n";
  out += format("N LOG: %d", count.used);
  if (count.clamped()) out += format(" (clamped from %d)", count.stated);
  out += "\r\n";
  uint32_t timeBase = 0;
  for (int32_t i = 0; i < count.used; ++i) {
    const size_t k = static_cast<size_t>(i);
    eventLine(out, i, byteAt(image, kIdsOffset + k), wordAt(image, kTimesOffset + 4 * k), timeBase);
  }
  return out;
}

std::string eventLogPath(const std::string& dataDir, const std::string& caption) {
  return format("%s%s.log", dataDir.c_str(), caption.c_str());
}

}  // namespace vantor
