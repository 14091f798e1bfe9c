#include "config/file_bytes.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "link/text_format.h"

namespace vantor {

namespace {
std::string failure(const char* what, const std::string& path, int err) {
  return format("Cannot %s %s: %s", what, path.c_str(), std::strerror(err));
}
}  // namespace

bool readFileChunks(const std::string& path, const std::function<bool(ByteView)>& sink,
                    std::string& error) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    error = failure("open", path, errno);
    return false;
  }
  std::array<uint8_t, 4096> chunk;
  bool ok = true;
  for (;;) {
    const size_t n = std::fread(chunk.data(), 1, chunk.size(), f);
    if (n > 0 && !sink(ByteView(chunk.data(), n))) break;
    if (n < chunk.size()) {
      if (std::ferror(f)) {
        error = failure("read", path, errno);
        ok = false;
      }
      break;
    }
  }
  std::fclose(f);
  return ok;
}

bool writeFileBytes(const std::string& path, ByteView bytes, std::string& error) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    error = failure("create", path, errno);
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const int writeErr = errno;
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed) {
    error = failure("write", path, written ? errno : writeErr);
    return false;
  }
  return true;
}

}  // namespace vantor
