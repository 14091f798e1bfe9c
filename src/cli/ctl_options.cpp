#include "cli/ctl_options.h"

#include <cstdlib>

namespace vantor {

const char* const kCtlUsage =
    "usage: vantorctl [--host ADDR] [--timeout SECONDS] [--data-dir DIR] COMMAND\n"
    "commands:\n"
    "  status               print the device version and its status fields\n"
    "  raw CODE [HEX...]    send one request with these parameter bytes, print the reply frame\n"
    "  params show          print every parameter table: name, then per parameter\n"
    "                       name, value, unit, min, max, default (tab-separated)\n"
    "  params save FILE     write the parameter tables to FILE as the window's \"Save File\"\n"
    "  params load FILE     read FILE with the window's checks, print its messages, write\n"
    "                       every table to the device and read them back\n"
    "  blocks backup FILE   read the six configuration blocks into a 340-byte backup file\n"
    "  blocks restore FILE  load a 340-byte backup file and write the six blocks\n"
    "Without --host the address the window stored last is used.\n"
    "Exit codes: 0 done, 1 connection failed or lost, 2 usage, 3 no reply in time or protocol "
    "error,\n"
    "4 a file that cannot be read or written, or is refused (nothing is written to the device).\n";

CtlParse parseCtlOptions(const std::vector<std::string>& argv) {
  CtlOptions o;
  for (size_t i = 0; i < argv.size(); ++i) {
    const std::string& a = argv[i];
    auto value = [&](const char* name) -> std::optional<std::string> {
      if (i + 1 >= argv.size()) return std::nullopt;
      (void)name;
      return argv[++i];
    };
    if (o.command.empty() && (a == "--host" || a == "--timeout" || a == "--data-dir")) {
      const auto v = value(a.c_str());
      if (!v) return {std::nullopt, a + " needs a value"};
      if (a == "--host") o.host = *v;
      if (a == "--data-dir") o.dataDir = *v;
      if (a == "--timeout") {
        char* end = nullptr;
        o.timeoutSeconds = std::strtod(v->c_str(), &end);
        if (end == v->c_str() || *end != '\0' || !(o.timeoutSeconds > 0))
          return {std::nullopt, "--timeout needs a positive number of seconds"};
      }
    } else if (o.command.empty()) {
      if (a.starts_with("--")) return {std::nullopt, "unknown option " + a};
      o.command = a;
    } else {
      o.args.push_back(a);
    }
  }
  if (o.command.empty()) return {std::nullopt, "no command given"};
  return {o, {}};
}

}  // namespace vantor
