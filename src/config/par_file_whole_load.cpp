#include "config/par_file_whole_load.h"

#include <regex>

#include "link/text_format.h"

namespace vantor {

namespace {

// A message of the file reader that names a line of the file it did not load.
bool notLoaded(const std::string& message) {
  static const std::regex kNotLoaded("[0-9]+ (not found|not a number|out of range)->> .*");
  return std::regex_match(message, kNotLoaded);
}

// The reader keeps the first messages of a file and counts the others in a
// last line "... and N more".
bool moreNotKept(const std::string& message) { return message.starts_with("... and "); }

}  // namespace

WholeParFileLoad loadParFileWhole(ParTableFileGroup& file, ByteView bytes) {
  WholeParFileLoad result;
  const size_t before = file.controls.memo7.size();
  const bool accepted = file.ReadFileParBytes(bytes);
  result.messages.assign(file.controls.memo7.begin() + static_cast<std::ptrdiff_t>(before),
                         file.controls.memo7.end());
  if (!accepted) {
    // A file that is refused says why as its last line.
    result.refusal = result.messages.empty() ? "Invalid File" : result.messages.back();
    return result;
  }
  size_t refused = 0;
  bool more = false;
  const std::string* first = nullptr;
  for (const std::string& line : result.messages) {
    more = more || moreNotKept(line);
    if (!notLoaded(line)) continue;
    ++refused;
    if (!first) first = &line;
  }
  if (refused > 0) {
    result.refusal =
        format("%zu%s line%s would not load, the first: %s", refused, more ? " or more" : "",
               refused == 1 && !more ? "" : "s", first->c_str());
    return result;
  }
  result.loaded = true;
  return result;
}

}  // namespace vantor
