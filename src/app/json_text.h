#pragma once
// A JSON document as text. Texts from the device are bytes in its own code
// page: any byte that is not UTF-8 becomes U+FFFD rather than ending the
// command.
#include <nlohmann/json.hpp>
#include <string>

namespace vantor {

// Indented by two spaces, without a final line end.
inline std::string jsonText(const nlohmann::ordered_json& document) {
  return document.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace vantor
