#pragma once
// Prints one JSON document on stdout for `--json`. Texts from the device are
// bytes in its own code page: any byte that is not UTF-8 becomes U+FFFD rather
// than ending the command.
#include <nlohmann/json.hpp>
#include <string>

namespace vantor {

// The document as printed: indented by two spaces, without a final line end.
std::string jsonText(const nlohmann::ordered_json& document);
// Prints jsonText and a line end on stdout.
void printJson(const nlohmann::ordered_json& document);

}  // namespace vantor
