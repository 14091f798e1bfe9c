#pragma once
// Whole-file access for the tool's data files, with C-library semantics
// (binary; the text formats do their own line ends) and a readable reason
// when a file cannot be opened, read, created or written.
#include <functional>
#include <string>

#include "link/bytes.h"

namespace vantor {

// Hands the file's bytes to `sink` in chunks until the end, or until the sink
// returns false. False with `error` set ("Cannot open PATH: reason", "Cannot
// read PATH: reason") when the file cannot be opened or read.
bool readFileChunks(const std::string& path, const std::function<bool(ByteView)>& sink,
                    std::string& error);

// Creates or replaces the file with these bytes. False with `error` set
// ("Cannot create PATH: reason", "Cannot write PATH: reason") on failure.
bool writeFileBytes(const std::string& path, ByteView bytes, std::string& error);

}  // namespace vantor
