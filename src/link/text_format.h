#pragma once
// printf-style text building for every display text of the tool; the compiler
// checks each format string against its arguments.
#include <cstdarg>
#include <string>

namespace vantor {

[[gnu::format(printf, 1, 2)]] std::string format(const char* fmt, ...);

}  // namespace vantor
