// The reject-text file parser fed any bytes: it accepts exactly seven lines of
// at most 99 characters without a zero byte, and leaves the texts alone otherwise.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "peripherals/reject_text_file.h"

using namespace vantor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  RejectTexts texts;
  texts.fill("unchanged");
  std::string error;
  const bool ok = parseRejectTexts(content, "fuzz", texts, error);
  if (ok != error.empty()) std::abort();
  for (const std::string& t : texts) {
    if (!ok && t != "unchanged") std::abort();
    if (ok && (t.size() > kRejectTextMax || t.find('\0') != std::string::npos ||
               t.find('\n') != std::string::npos))
      std::abort();
  }
  return 0;
}
