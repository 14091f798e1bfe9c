#include "config/text_lines.h"

namespace vantor {

std::vector<std::string_view> splitTextLines(std::string_view all, size_t maxLines) {
  if (!all.empty() && all.back() == '\n') all.remove_suffix(1);
  std::vector<std::string_view> lines;
  while (lines.size() <= maxLines) {
    const size_t nl = all.find('\n');
    std::string_view line = all.substr(0, nl);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (nl == std::string_view::npos) break;
    all.remove_prefix(nl + 1);
  }
  return lines;
}

}  // namespace vantor
