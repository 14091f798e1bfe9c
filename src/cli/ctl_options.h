#pragma once
// Command line of vantorctl.
#include <optional>
#include <string>
#include <vector>

namespace vantor {

struct CtlOptions {
  std::optional<std::string> host;
  std::optional<std::string> dataDir;
  double timeoutSeconds = 5.0;
  std::string command;            // "status", "raw", ...
  std::vector<std::string> args;  // the command's own words
};

// Returns the options, or an error text for a usage error.
struct CtlParse {
  std::optional<CtlOptions> options;
  std::string error;
};
CtlParse parseCtlOptions(const std::vector<std::string>& argv);

extern const char* const kCtlUsage;

}  // namespace vantor
