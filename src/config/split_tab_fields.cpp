#include "config/split_tab_fields.h"

namespace vantor {

std::vector<std::string_view> splitTabFields(std::string_view line) {
  std::vector<std::string_view> fields;
  if (line.empty()) return fields;
  size_t start = 0;
  while (fields.size() < kMaxTabFields) {
    const size_t tab = line.find('\t', start);
    if (tab == std::string_view::npos) {
      fields.push_back(line.substr(start));
      break;
    }
    fields.push_back(line.substr(start, tab - start));
    start = tab + 1;
  }
  return fields;
}

}  // namespace vantor
