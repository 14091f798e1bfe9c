#pragma once
#include <string>

namespace vantor {

// The main window's caption; files of the tool are named after it.
inline constexpr const char* kWindowCaption = "RW4000 Vantor8.10";

// A data directory as given on the command line, with the trailing slash the
// file names are appended to.
std::string withTrailingSlash(std::string dir);

}  // namespace vantor
