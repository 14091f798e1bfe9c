#pragma once
// The firmware file: Intel HEX text that the boot loader takes one line per
// acknowledgement. Before anything is sent the whole file is cut into lines the
// way the upload reads it and every line is checked as an Intel HEX record, so
// a damaged file is refused while the device still runs what it has.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/bytes.h"

namespace vantor {

// The boot loader's line buffer holds 499 characters and a terminating zero.
inline constexpr size_t kMaxFirmwareLineChars = 499;

// One line as it goes to the device: its text without line end and carriage
// returns, where it starts in the file (1-based line number) and how many
// bytes of the file it takes, its carriage returns counted, its line feed not.
struct FirmwareLine {
  std::string text;
  size_t number = 0;
  size_t fileBytes = 0;
};

// Cuts a file into lines: a line feed ends a line and is not kept, carriage
// returns are dropped wherever they stand, a last line without a line feed is
// a line, and empty lines are skipped (their line numbers still count).
std::vector<FirmwareLine> splitFirmwareLines(ByteView file);

// Why one line is not an Intel HEX record, or nothing when it is one: ":" then
// an even number of hex digits, at most kMaxFirmwareLineChars characters, a byte
// count that matches the data, a known record type (00 to 05) with the length
// its type has, and a checksum that brings the sum of all bytes to zero.
std::optional<std::string> intelHexProblem(std::string_view line);

// The record type of a line that passed intelHexProblem.
uint8_t intelHexRecordType(std::string_view line);

struct FirmwareFileCheck {
  std::vector<FirmwareLine> lines;
  // Empty when the file is fit to send; else "line N: why" of the first fault.
  std::string problem;
  bool ok() const { return problem.empty(); }
};

// The whole check: every line a record, at least one record, exactly one
// end-of-file record and it is the last line.
FirmwareFileCheck checkFirmwareFile(ByteView file);

}  // namespace vantor
