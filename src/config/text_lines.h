#pragma once
// Cuts a text file's content into lines: line ends CR LF or LF, a last line
// end optional. Stops after maxLines + 1 lines, so a caller that wants exactly
// maxLines sees that there are more without cutting the rest.
#include <cstddef>
#include <string_view>
#include <vector>

namespace vantor {

// Every line, however many.
inline constexpr size_t kAllLines = static_cast<size_t>(-1) - 1;

std::vector<std::string_view> splitTextLines(std::string_view content, size_t maxLines);

}  // namespace vantor
