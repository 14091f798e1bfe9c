#pragma once
// Whole-file access for every file the tool reads or writes, with C-library
// semantics (binary; the text formats do their own line ends) and a readable
// reason whenever a file is refused or cannot be opened, read or written.
//
// Reading takes only a regular file no larger than its format allows. A pipe,
// a device or a directory given as a file is refused before a byte is read, so
// it can neither hold the caller up nor stream without end, and an oversized
// file is refused by its size instead of being read into memory.
//
// Writing never touches the old file until the new one is complete on disk:
// the bytes go to a fresh temporary file in the same folder, which is flushed,
// synced and then renamed over the old one. On any failure the temporary file
// is removed and the old file stays as it was.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "link/bytes.h"

namespace vantor {

// What a reader accepts: a regular file of at most maxBytes bytes. `format`
// names the kind of file in the refusal ("a parameter file").
struct FileLimit {
  uint64_t maxBytes;
  const char* format;
};

// For readers that have no limit of their own.
inline constexpr FileLimit kDataFileLimit{1u << 20, "a data file"};

// Hands the file's bytes to `sink` in chunks until the end, or until the sink
// returns false; never more than limit.maxBytes bytes in all. False with
// `error` set when the file is refused or fails:
//   "Cannot open PATH: reason"
//   "PATH is not a regular file (it is a pipe)"       also a device, a directory
//   "PATH is N bytes; at most M are read for FORMAT"  before any byte is read
//   "Cannot read PATH: reason"
// The sink may already have been given bytes when a read fails halfway or the
// file grows past the limit while it is read.
bool readFileChunks(const std::string& path, const std::function<bool(ByteView)>& sink,
                    std::string& error, const FileLimit& limit = kDataFileLimit);

// The whole file, with the refusals and reasons of readFileChunks.
std::optional<Bytes> readFileBytes(const std::string& path, const FileLimit& limit,
                                   std::string& error);

// Creates or replaces the file with these bytes, all at once: afterwards the
// file holds either all of them or, after a failure, exactly what it held
// before. A symbolic link is written through: the file it names is replaced.
// False with `error` set on failure:
//   "Cannot create PATH: reason"   the temporary file cannot be created
//   "Cannot write PATH: reason"    writing, syncing or the rename failed, or
//                                  PATH is a directory, a device or a pipe
bool writeFileBytes(const std::string& path, ByteView bytes, std::string& error);
bool writeFileText(const std::string& path, std::string_view text, std::string& error);

}  // namespace vantor
