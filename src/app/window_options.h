#pragma once
#include <optional>
#include <string>
#include <vector>

namespace vantor {

// The window's command line: --host ADDR, --data-dir DIR, --help. Words that
// Qt itself takes (-platform, ...) are removed before this sees them.
struct WindowOptions {
  std::optional<std::string> host;
  std::optional<std::string> dataDir;
  bool help = false;
};
struct WindowOptionsParse {
  std::optional<WindowOptions> options;
  std::string error;
};
WindowOptionsParse parseWindowOptions(const std::vector<std::string>& words);
extern const char* const kWindowUsage;

}  // namespace vantor
