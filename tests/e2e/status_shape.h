#pragma once
// What `vantorctl status` prints for the simulator: the names and the shape
// of each value (the values themselves change from one reply to the next).
#include <regex>
#include <string>

namespace vantor::e2e {

inline bool looksLikeStatusOutput(const std::string& text) {
  static const std::regex shape(
      "Version:  RW40[^\n]*\n"
      "Status: Ls [0-9]+ T [0-9]+ Rs [0-9]+ St [0-9]+\n"
      "ComStat: [0-9]+ [0-9]+ [0-9]+ [0-9]+\n"
      "Port2: [0-9A-F]+ [0-9A-F]+ [0-9A-F]+ [0-9A-F]+\n"
      "Peso: (-?[0-9]+ ){5}-?[0-9]+\n"
      "TimPes: [0-9]+\n"
      "ErrorApp: [0-9]+\n"
      "WebDeb: [0-9a-f]+ [0-9a-f]+ [0-9a-f]+ [0-9a-f]+\n");
  return std::regex_match(text, shape);
}

}  // namespace vantor::e2e
