#pragma once
#include <string>

namespace vantor {

// "c:/Harbo/" on Windows, the per-user application data folder elsewhere;
// always ends in a slash.
std::string defaultDataDir();

}  // namespace vantor
