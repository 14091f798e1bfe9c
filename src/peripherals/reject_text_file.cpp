#include "peripherals/reject_text_file.h"

#include <vector>

#include "config/file_bytes.h"
#include "config/text_lines.h"
#include "link/text_format.h"

namespace vantor {

bool parseRejectTexts(std::string_view all, const std::string& name, RejectTexts& texts,
                      std::string& error) {
  const std::vector<std::string_view> lines = splitTextLines(all, kRejectSlots);
  if (lines.size() != kRejectSlots) {
    error = lines.size() > kRejectSlots
                ? format("%s has more than %zu lines; a reject-text file has exactly %zu",
                         name.c_str(), kRejectSlots, kRejectSlots)
                : format("%s has %zu lines; a reject-text file has exactly %zu", name.c_str(),
                         lines.size(), kRejectSlots);
    return false;
  }
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].size() > kRejectTextMax || lines[i].find('\0') != std::string_view::npos) {
      error = format("%s line %zu: %zu characters; at most %zu, and no zero byte", name.c_str(),
                     i + 1, lines[i].size(), kRejectTextMax);
      return false;
    }
  }
  for (size_t i = 0; i < lines.size(); ++i) texts[i] = std::string(lines[i]);
  return true;
}

bool readRejectTexts(const std::string& path, RejectTexts& texts, std::string& error) {
  const std::optional<Bytes> bytes = readFileBytes(path, kRejectTextLimit, error);
  if (!bytes) return false;
  return parseRejectTexts(asText(*bytes), path, texts, error);
}

std::optional<std::string> rejectTextsFileText(const RejectTexts& texts, std::string& error) {
  std::string text;
  for (size_t i = 0; i < texts.size(); ++i) {
    if (texts[i].find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) {
      error = format(
          "reject text %zu holds a line end or a zero byte and cannot be kept in a "
          "reject-text file",
          i + 1);
      return std::nullopt;
    }
    text += texts[i] + "\r\n";
  }
  return text;
}

}  // namespace vantor
