#include "config/file_bytes.h"

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

#include "link/text_format.h"

#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#include <sys/types.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vantor {

namespace fs = std::filesystem;

namespace {

std::string failure(const char* what, const std::string& path, const std::string& reason) {
  return format("Cannot %s %s: %s", what, path.c_str(), reason.c_str());
}

std::string failure(const char* what, const std::string& path, int err) {
  return failure(what, path, std::strerror(err));
}

// What a path that is not a regular file turned out to be, for the refusal.
const char* kindOf(fs::file_type type) {
  switch (type) {
    case fs::file_type::directory:
      return "a directory";
    case fs::file_type::fifo:
      return "a pipe";
    case fs::file_type::character:
    case fs::file_type::block:
      return "a device";
    case fs::file_type::socket:
      return "a socket";
    default:
      return nullptr;
  }
}

std::string notRegular(fs::file_type type) {
  const char* kind = kindOf(type);
  return kind ? format("not a regular file (it is %s)", kind) : "not a regular file";
}

std::string tooLarge(const std::string& path, uint64_t size, const FileLimit& limit) {
  return format("%s is %llu bytes; at most %llu are read for %s", path.c_str(),
                static_cast<unsigned long long>(size),
                static_cast<unsigned long long>(limit.maxBytes), limit.format);
}

// ---- reading ---------------------------------------------------------------

struct OpenedForReading {
  std::FILE* file = nullptr;
  int error = 0;        // errno when the file could not be opened
  bool regular = true;  // false: opened, found not to be a regular file, closed again
  uint64_t size = 0;
};

// Opens the file without ever waiting and checks what was opened, which may
// differ from what the path named a moment before. On POSIX the open does not
// block even on a pipe without a writer; anything but a regular file is closed
// again unread.
OpenedForReading openForReading(const std::string& path) {
  OpenedForReading r;
#ifdef _WIN32
  r.file = std::fopen(path.c_str(), "rb");
  if (!r.file) {
    r.error = errno;
    return r;
  }
  struct _stat64 st;
  if (_fstat64(_fileno(r.file), &st) != 0) {
    r.error = errno;
    std::fclose(r.file);
    r.file = nullptr;
    return r;
  }
  r.regular = (st.st_mode & _S_IFMT) == _S_IFREG;
  r.size = static_cast<uint64_t>(st.st_size);
  if (!r.regular) {
    std::fclose(r.file);
    r.file = nullptr;
  }
#else
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    r.error = errno;
    return r;
  }
  struct stat st;
  if (::fstat(fd, &st) != 0) {
    r.error = errno;
    ::close(fd);
    return r;
  }
  r.regular = S_ISREG(st.st_mode);
  r.size = static_cast<uint64_t>(st.st_size);
  if (!r.regular) {
    ::close(fd);
    return r;
  }
  r.file = ::fdopen(fd, "rb");
  if (!r.file) {
    r.error = errno;
    ::close(fd);
  }
#endif
  return r;
}

// ---- writing ---------------------------------------------------------------

// Flushes what the system holds of the file to the disk.
bool syncToDisk(std::FILE* f) {
#ifdef _WIN32
  return _commit(_fileno(f)) == 0;
#else
  return ::fsync(::fileno(f)) == 0;
#endif
}

// Makes a rename in this folder last through a power cut. Only the name is at
// stake here, the new file's bytes are already on disk, and some file systems
// refuse to sync a folder, so a failure is not reported.
void syncFolder([[maybe_unused]] const fs::path& folder) {
#ifndef _WIN32
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
#endif
}

// A name for the temporary file beside `target` that no other writer picks:
// ".NAME.<64 random bits>.tmp". Creation is exclusive, so a clash is retried.
fs::path temporaryBeside(const fs::path& target) {
  thread_local std::mt19937_64 random = [] {
    std::random_device device;
    std::seed_seq seed{
        device(), device(),
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count())};
    return std::mt19937_64(seed);
  }();
  const std::string name = format(".%s.%016llx.tmp", target.filename().string().c_str(),
                                  static_cast<unsigned long long>(random()));
  return target.parent_path() / name;
}

// The file that a write to `path` replaces: the path itself, or for a
// symbolic link the file it names, so the link stays a link.
fs::path writeTarget(const std::string& path) {
  const fs::path given(path);
  std::error_code ec;
  if (!fs::is_symlink(fs::symlink_status(given, ec))) return given;
  const fs::path resolved = fs::canonical(given, ec);
  return ec ? given : resolved;  // a dangling link is replaced itself
}

}  // namespace

bool readFileChunks(const std::string& path, const std::function<bool(ByteView)>& sink,
                    std::string& error, const FileLimit& limit) {
  // The type and size are checked before the file is opened, so that a pipe
  // or a device is never opened at all where opening one could wait.
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (ec) {
    error = failure("open", path, ec.message());
    return false;
  }
  if (!fs::is_regular_file(status)) {
    error = path + " is " + notRegular(status.type());
    return false;
  }

  const OpenedForReading opened = openForReading(path);
  if (!opened.regular) {
    error = path + " is " + notRegular(fs::file_type::unknown);
    return false;
  }
  if (!opened.file) {
    error = failure("open", path, opened.error);
    return false;
  }
  if (opened.size > limit.maxBytes) {
    std::fclose(opened.file);
    error = tooLarge(path, opened.size, limit);
    return false;
  }

  // Unbuffered, so no more is taken from the file than is asked for: one byte
  // more than the limit at most, to notice a file that grew since its size
  // was taken.
  std::setvbuf(opened.file, nullptr, _IONBF, 0);
  std::array<uint8_t, 4096> chunk;
  uint64_t total = 0;
  bool ok = true;
  for (;;) {
    const uint64_t left = limit.maxBytes - total;  // total never passes the limit here
    const size_t want = left < chunk.size() ? static_cast<size_t>(left) + 1 : chunk.size();
    const size_t n = std::fread(chunk.data(), 1, want, opened.file);
    const int readError = errno;
    total += n;
    if (total > limit.maxBytes) {
      error = format("%s is more than %llu bytes; at most %llu are read for %s", path.c_str(),
                     static_cast<unsigned long long>(limit.maxBytes),
                     static_cast<unsigned long long>(limit.maxBytes), limit.format);
      ok = false;
      break;
    }
    if (n > 0 && !sink(ByteView(chunk.data(), n))) break;
    if (n < want) {
      if (std::ferror(opened.file)) {
        error = failure("read", path, readError);
        ok = false;
      }
      break;
    }
  }
  std::fclose(opened.file);
  return ok;
}

std::optional<Bytes> readFileBytes(const std::string& path, const FileLimit& limit,
                                   std::string& error) {
  Bytes bytes;
  const bool read = readFileChunks(
      path,
      [&](ByteView chunk) {
        bytes.insert(bytes.end(), chunk.begin(), chunk.end());
        return true;
      },
      error, limit);
  if (!read) return std::nullopt;
  return bytes;
}

bool writeFileBytes(const std::string& path, ByteView bytes, std::string& error) {
  const fs::path target = writeTarget(path);
  if (target.filename().empty()) {
    error = failure("create", path, "no file name");
    return false;
  }
  std::error_code ec;
  const fs::file_status old = fs::status(target, ec);
  const bool replacing = fs::exists(old);
  if (replacing && !fs::is_regular_file(old)) {
    error = failure("write", path, notRegular(old.type()));
    return false;
  }
#ifndef _WIN32
  // A file its owner made read-only stays as it is, as it would when written
  // in place. (On Windows the rename itself refuses a read-only file.)
  if (replacing && ::access(target.c_str(), W_OK) != 0) {
    error = failure("write", path, errno);
    return false;
  }
#endif

  fs::path temp;
  std::FILE* f = nullptr;
  int createError = 0;
  for (int attempt = 0; attempt < 8 && !f; ++attempt) {
    temp = temporaryBeside(target);
    f = std::fopen(temp.string().c_str(), "wbx");  // exclusive: never someone else's file
    createError = errno;
    if (!f && createError != EEXIST) break;
  }
  if (!f) {
    error = failure("create", path, createError);
    return false;
  }

  int writeError = 0;
  bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (!written) writeError = errno;
  if (written && std::fflush(f) != 0) {
    written = false;
    writeError = errno;
  }
  if (written && !syncToDisk(f)) {
    written = false;
    writeError = errno;
  }
  if (std::fclose(f) != 0 && written) {
    written = false;
    writeError = errno;
  }
  if (written && replacing) {
    // The new file keeps the old one's permissions. A file system without
    // them is no reason to keep the old contents, so a failure is let pass.
    fs::permissions(temp, old.permissions(), ec);
  }
  if (written) {
    fs::rename(temp, target, ec);
    if (!ec) {
      syncFolder(target.parent_path());
      return true;
    }
    error = failure("write", path, ec.message());
  } else {
    error = failure("write", path, writeError);
  }
  fs::remove(temp, ec);
  return false;
}

bool writeFileText(const std::string& path, std::string_view text, std::string& error) {
  return writeFileBytes(path, ByteView(reinterpret_cast<const uint8_t*>(text.data()), text.size()),
                        error);
}

}  // namespace vantor
