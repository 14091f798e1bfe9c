#include "monitor/trace_record_file.h"

#include <cerrno>
#include <cstring>

#include "link/text_format.h"

namespace vantor {

std::string traceRecordLine(const TraceSample& s) {
  return format("%6d; %6d; %6d; %6d\r\n", s.real, s.filtered, static_cast<int>(s.flags()),
                s.calculated());
}

std::string traceTrailerText(const TraceTrailer& v) {
  return "TimP; QpMe; InsP; Delt; TAcM; TAcN\r\n" +
         format("%4d; %4d; %4d; %4d; %4d; %4d\r\n", v[0], v[1], v[2], v[3], v[4], v[5]);
}

bool TraceRecordFile::open(const std::string& path, std::string& error) {
  close();
  errno = 0;
  file_ = std::fopen(path.c_str(), "wb");
  if (!file_) {
    error = format("Cannot create %s: %s", path.c_str(), std::strerror(errno));
    return false;
  }
  path_ = path;
  return true;
}

bool TraceRecordFile::fail(std::string& error) {
  const int err = errno != 0 ? errno : EIO;
  error = format("Cannot write %s: %s", path_.c_str(), std::strerror(err));
  close();
  return false;
}

bool TraceRecordFile::flush(std::string& error) {
  if (!file_) return false;
  errno = 0;
  const bool written = pending_.empty() ||
                       std::fwrite(pending_.data(), 1, pending_.size(), file_) == pending_.size();
  pending_.clear();
  if (!written || std::fflush(file_) != 0) return fail(error);
  return true;
}

bool TraceRecordFile::finish(const TraceTrailer& trailer, std::string& error) {
  if (!file_) return false;
  pending_ += traceTrailerText(trailer);
  if (!flush(error)) return false;
  errno = 0;
  const int closed = std::fclose(file_);
  file_ = nullptr;
  if (closed != 0) {
    error = format("Cannot write %s: %s", path_.c_str(), std::strerror(errno ? errno : EIO));
    return false;
  }
  return true;
}

void TraceRecordFile::close() {
  pending_.clear();
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

}  // namespace vantor
