#include "cli/json_output.h"

#include <cstdio>
#include <string>

namespace vantor {

void printJson(const nlohmann::ordered_json& document) {
  const std::string text = jsonText(document);
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

}  // namespace vantor
