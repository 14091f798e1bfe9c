#include "app/window_options.h"

namespace vantor {

const char* const kWindowUsage =
    "Usage: vantor [--host ADDR] [--data-dir DIR]\n"
    "\n"
    "The RW4000 service and commissioning window.\n"
    "\n"
    "Options:\n"
    "  --host ADDR      device address for the Host field (replaces the stored one)\n"
    "  --data-dir DIR   folder of the settings file and the tool's files\n"
    "                   (default: the user's application data folder)\n"
    "  -h, --help       show this text\n";

WindowOptionsParse parseWindowOptions(const std::vector<std::string>& words) {
  WindowOptionsParse result;
  WindowOptions o;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& w = words[i];
    auto value = [&](const std::string& name, std::optional<std::string>& into) {
      if (w.rfind(name + "=", 0) == 0) {
        into = w.substr(name.size() + 1);
      } else if (i + 1 < words.size()) {
        into = words[++i];
      } else {
        result.error = name + " needs a value";
        return false;
      }
      if (into->empty()) {
        result.error = name + " needs a value";
        return false;
      }
      return true;
    };
    if (w == "-h" || w == "--help") {
      o.help = true;
    } else if (w == "--host" || w.rfind("--host=", 0) == 0) {
      if (!value("--host", o.host)) return result;
    } else if (w == "--data-dir" || w.rfind("--data-dir=", 0) == 0) {
      if (!value("--data-dir", o.dataDir)) return result;
    } else {
      result.error = "unknown argument '" + w + "'";
      return result;
    }
  }
  result.options = o;
  return result;
}

}  // namespace vantor
