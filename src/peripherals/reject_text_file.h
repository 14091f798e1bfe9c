#pragma once
// A reject-text file: the seven reject-label texts, one a line, in the order
// of GridErLb rows 1 .. 7. Line ends CR LF or LF; a last line end is optional.
// Each text is at most 99 characters and holds no zero byte.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "config/file_bytes.h"
#include "peripherals/reject_labels.h"

namespace vantor {

using RejectTexts = std::array<std::string, kRejectSlots>;

inline constexpr FileLimit kRejectTextLimit{7 * 1024, "a reject-text file"};

// False with `error` set ("NAME has 6 lines; ...", "NAME line 3: ...") when
// the content does not hold seven such lines; `texts` is then unchanged.
bool parseRejectTexts(std::string_view content, const std::string& name, RejectTexts& texts,
                      std::string& error);
// The file at `path`, refused unread when it is not a regular file of at most 7 KiB.
bool readRejectTexts(const std::string& path, RejectTexts& texts, std::string& error);

// The file of seven texts, each line ending in CR LF; nothing, with the
// reason, when a text holds a line end or a zero byte (it would not read back).
std::optional<std::string> rejectTextsFileText(const RejectTexts& texts, std::string& error);

}  // namespace vantor
