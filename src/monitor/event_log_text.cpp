#include "monitor/event_log_text.h"

#include <array>
#include <cstdarg>
#include <cstdio>

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

// Appends one printf-formatted piece without a temporary string per line.
[[gnu::format(printf, 2, 3)]] void append(std::string& out, const char* fmt, ...) {
  char buf[256];
  va_list args;
  va_start(args, fmt);
  const int n = std::vsnprintf(buf, sizeof buf, fmt, args);
  va_end(args);
  if (n > 0) out.append(buf, static_cast<size_t>(n) < sizeof buf ? n : sizeof buf - 1);
}

void eventLine(std::string& out, int i, uint8_t id, uint32_t word, uint32_t& timeBase) {
  if (id == 0) {
    timeBase = word;
    append(out, "%6d\tID:%02x\tTime:%2u:%2u:%2u.%03u\t***RESET***\r\n", i, id, word / 3600000,
           word / 60000 % 60, word / 1000 % 60, word % 1000);
    return;
  }
  if (id == 1) {
    append(out, "%6d\tID:%02x\tDate:%2u/%2u/%4u\t*********\r\n", i, id, word & 0xFF,
           (word >> 8) & 0xFF, word >> 16);
    return;
  }
  const uint32_t t = word + timeBase;
  append(out, "%6d\tID:%02x\tD:%2u T:%2u:%02u:%02u.%03u\t", i, id, t / kMsPerDay, t / 3600000 % 24,
         t / 60000 % 60, t / 1000 % 60, t % 1000);
  if (id <= 3) {
    append(out, " BarCode%d\r\n", id - 1);
  } else if (id <= 5) {
    append(out, "\t\t\t\tPrint %s\r\n", kNames[24 + id]);
  } else if (id == 6) {
    out += "\t\tPeso\r\n";
  } else if (id == 7) {
    out += " W UP\r\n";
  } else if (id <= 11) {
    append(out, "\tIN H %s\r\n", kNames[id + 16]);
  } else if (id <= 15) {
    append(out, "\tIN L %s\r\n", kNames[id + 12]);
  } else if (id <= 23) {
    append(out, "\t\t\tOUT H %s\r\n", kNames[id]);
  } else if (id <= 31) {
    append(out, "\t\t\tOUT L %s\r\n", kNames[id - 8]);
  } else if (id <= 47) {
    append(out, " KEY  ON %s\r\n", kNames[id - 32]);
  } else if (id <= 63) {
    append(out, " KEY OFF %s\r\n", kNames[id - 48]);
  } else {
    out += "\r\n";
  }
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
  append(out, "N LOG: %d", count.used);
  if (count.clamped()) append(out, " (clamped from %d)", count.stated);
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
