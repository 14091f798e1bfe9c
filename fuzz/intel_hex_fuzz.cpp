// The firmware file check fed any file: lines never hold a line end or a
// carriage return, no byte of the file is lost or counted twice, and a file
// that passes is made of records the boot loader's line buffer holds.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "firmware/intel_hex.h"

using namespace vantor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const ByteView file(data, size);
  const FirmwareFileCheck check = checkFirmwareFile(file);
  size_t lineFeeds = 0;
  for (uint8_t b : file) lineFeeds += b == '\n';
  size_t counted = 0, lastNumber = 0;
  for (const FirmwareLine& line : check.lines) {
    if (line.text.empty() || line.text.find_first_of("\r\n") != std::string::npos) std::abort();
    if (line.number <= lastNumber || line.number > lineFeeds + 1) std::abort();
    if (line.text.size() > line.fileBytes) std::abort();
    lastNumber = line.number;
    counted += line.fileBytes;
  }
  // Bytes of skipped lines are carriage returns only.
  if (counted + lineFeeds > size) std::abort();
  if (check.ok()) {
    if (check.lines.empty()) std::abort();
    for (const FirmwareLine& line : check.lines)
      if (line.text.size() > kMaxFirmwareLineChars || line.text[0] != ':' ||
          intelHexProblem(line.text))
        std::abort();
    if (intelHexRecordType(check.lines.back().text) != 0x01) std::abort();
  } else if (check.problem.size() > 200) {
    std::abort();
  }
  // Any single line of the input.
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (const auto why = intelHexProblem(text); !why && text.size() > kMaxFirmwareLineChars)
    std::abort();
  return 0;
}
