#pragma once
// Prints one JSON document on stdout for `--json`.
#include "app/json_text.h"

namespace vantor {

// Prints jsonText and a line end on stdout.
void printJson(const nlohmann::ordered_json& document);

}  // namespace vantor
