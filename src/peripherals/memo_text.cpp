#include "peripherals/memo_text.h"

#include <string>

namespace vantor {

void appendMemoText(BoundedLog& memo, std::string_view text) {
  while (true) {
    const size_t nl = text.find('\n');
    std::string_view line = text.substr(0, nl);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    memo.append(std::string(line));
    if (nl == std::string_view::npos) return;
    text.remove_prefix(nl + 1);
    if (text.empty()) return;
  }
}

}  // namespace vantor
