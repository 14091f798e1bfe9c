#pragma once
// A text file fed to a reader whole, byte by byte and in pieces whose sizes
// follow the text itself; every way must come out the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace vantor::fuzz {

// Feeds `file` to `reader.feed`: whole (sliceSeed 0), byte by byte (1), or in
// pieces of 1 to 61 bytes chosen by the bytes (any other seed).
template <typename Reader>
void feedText(std::string_view file, size_t sliceSeed, Reader& reader) {
  size_t at = 0;
  while (at < file.size()) {
    size_t n = sliceSeed == 0
                   ? file.size()
                   : (sliceSeed == 1 ? 1 : 1 + (static_cast<uint8_t>(file[at]) * sliceSeed) % 61);
    if (n > file.size() - at) n = file.size() - at;
    reader.feed(file.substr(at, n));
    at += n;
  }
}

// Aborts unless `run(file, sliceSeed)` gives the same outcome for the whole
// file, byte by byte and in pieces.
template <typename Run>
void sameInEverySlicing(std::string_view file, Run run) {
  const auto whole = run(file, 0);
  if (run(file, 1) != whole || run(file, 29) != whole) std::abort();
}

}  // namespace vantor::fuzz
