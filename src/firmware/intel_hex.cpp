#include "firmware/intel_hex.h"

#include "link/text_format.h"

namespace vantor {

namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Byte `index` of the record (after the colon); the caller checked the digits.
uint8_t recordByte(std::string_view line, size_t index) {
  return static_cast<uint8_t>(hexDigit(line[1 + 2 * index]) * 16 + hexDigit(line[2 + 2 * index]));
}

constexpr uint8_t kEndOfFile = 0x01;

// The data length each known record type has, or -1 where any length goes.
int lengthOfType(uint8_t type) {
  switch (type) {
    case 0x00:
      return -1;  // data
    case 0x01:
      return 0;  // end of file
    case 0x02:   // extended segment address
    case 0x04:   // extended linear address
      return 2;
    case 0x03:  // start segment address
    case 0x05:  // start linear address
      return 4;
    default:
      return -2;
  }
}

}  // namespace

std::vector<FirmwareLine> splitFirmwareLines(ByteView file) {
  std::vector<FirmwareLine> lines;
  FirmwareLine line;
  line.number = 1;
  const auto endLine = [&](size_t nextNumber) {
    if (!line.text.empty()) lines.push_back(std::move(line));
    line = FirmwareLine{};
    line.number = nextNumber;
  };
  for (uint8_t byte : file) {
    if (byte == '\n') {
      endLine(line.number + 1);
      continue;
    }
    ++line.fileBytes;
    if (byte != '\r') line.text.push_back(static_cast<char>(byte));
  }
  endLine(line.number + 1);
  return lines;
}

std::optional<std::string> intelHexProblem(std::string_view line) {
  if (line.size() > kMaxFirmwareLineChars)
    return format("%zu characters, at most %zu fit the device's line", line.size(),
                  kMaxFirmwareLineChars);
  if (line.empty() || line[0] != ':') return std::string("does not start with ':'");
  for (size_t i = 1; i < line.size(); ++i)
    if (hexDigit(line[i]) < 0) return format("character %zu is not a hex digit", i + 1);
  if ((line.size() - 1) % 2 != 0) return std::string("odd number of hex digits");
  const size_t bytes = (line.size() - 1) / 2;
  if (bytes < 5) return std::string("too short for a record");
  const size_t count = recordByte(line, 0);
  if (count != bytes - 5)
    return format("byte count %zu, but the record holds %zu data bytes", count, bytes - 5);
  const uint8_t type = recordByte(line, 3);
  const int wanted = lengthOfType(type);
  if (wanted == -2) return format("unknown record type %02X", type);
  if (wanted >= 0 && static_cast<size_t>(wanted) != count)
    return format("record type %02X with %zu data bytes, it has %d", type, count, wanted);
  uint8_t sum = 0;
  for (size_t i = 0; i < bytes; ++i) sum = static_cast<uint8_t>(sum + recordByte(line, i));
  if (sum != 0) return format("checksum %02X is wrong", recordByte(line, bytes - 1));
  return std::nullopt;
}

uint8_t intelHexRecordType(std::string_view line) {
  return line.size() >= 9 ? recordByte(line, 3) : 0xFF;
}

FirmwareFileCheck checkFirmwareFile(ByteView file) {
  FirmwareFileCheck check;
  check.lines = splitFirmwareLines(file);
  if (check.lines.empty()) {
    check.problem = "the file holds no records";
    return check;
  }
  for (size_t i = 0; i < check.lines.size(); ++i) {
    const FirmwareLine& line = check.lines[i];
    if (const auto why = intelHexProblem(line.text)) {
      check.problem = format("line %zu: %s", line.number, why->c_str());
      return check;
    }
    const bool last = i + 1 == check.lines.size();
    const bool end = intelHexRecordType(line.text) == kEndOfFile;
    if (end && !last) {
      check.problem = format("line %zu: end-of-file record before the last line", line.number);
      return check;
    }
    if (!end && last) {
      check.problem =
          format("line %zu: the last record is not the end-of-file record", line.number);
      return check;
    }
  }
  return check;
}

}  // namespace vantor
