#pragma once
// The weight record file: one text line per sample received while recording,
// "%6d; %6d; %6d; %6d" with the real, filtered and calculated weights around
// the flags byte, then a two-line trailer of the weighing settings. Lines end
// in CR LF. A number wider than its places lengthens its line; nothing is cut.
//
// Lines are collected per block and written with one write and a flush, so a
// failing disk is noticed at the block it failed in.
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

#include "monitor/trace_sample.h"

namespace vantor {

// TimP (the last weighing time) and the system parameters QtdPesoMedia,
// instante_pesagem, delta, tempo_acionamento and tempo_acionado.
using TraceTrailer = std::array<int32_t, 6>;

std::string traceRecordLine(const TraceSample& s);
std::string traceTrailerText(const TraceTrailer& values);

class TraceRecordFile {
 public:
  TraceRecordFile() = default;
  TraceRecordFile(const TraceRecordFile&) = delete;
  TraceRecordFile& operator=(const TraceRecordFile&) = delete;
  ~TraceRecordFile() { close(); }

  // Creates or empties the file; "Cannot create PATH: reason" when it cannot.
  bool open(const std::string& path, std::string& error);
  bool isOpen() const { return file_ != nullptr; }
  const std::string& path() const { return path_; }

  void addSample(const TraceSample& s) { pending_ += traceRecordLine(s); }
  // Writes the lines added since the last flush; "Cannot write PATH: reason"
  // when the disk refuses them (the file is then closed, keeping what it held).
  bool flush(std::string& error);
  // Writes the trailer and closes the file.
  bool finish(const TraceTrailer& trailer, std::string& error);
  void close();

 private:
  bool fail(std::string& error);

  std::FILE* file_ = nullptr;
  std::string path_;
  std::string pending_;
};

}  // namespace vantor
