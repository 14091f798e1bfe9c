// The reply frame reader fed arbitrary byte streams: whole, byte by byte and in
// slices chosen by the input. Every way must give the same frames and errors.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "link/frame_reader.h"

using namespace vantor;

namespace {

struct Trace : FrameSink {
  std::vector<Bytes> frames;
  std::vector<std::string> errors;
  void frameGood(ByteView f) override {
    if (f.size() < 12 || f[0] != 0x02 || f[f.size() - 1] != 0x03) std::abort();
    frames.emplace_back(f.begin(), f.end());
  }
  void frameError(const std::string& text, ByteView head, std::optional<FrameCounters>) override {
    if (head.size() > 9) std::abort();
    errors.push_back(text);
  }
};

Trace run(const uint8_t* data, size_t size, size_t sliceSeed) {
  FrameReader reader;
  Trace t;
  size_t at = 0;
  while (at < size) {
    size_t n = sliceSeed == 0 ? size : (sliceSeed == 1 ? 1 : 1 + (data[at] * sliceSeed) % 97);
    if (n > size - at) n = size - at;
    reader.feed(ByteView(data + at, n), 0, t);
    at += n;
  }
  return t;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Trace whole = run(data, size, 0);
  const Trace bytes = run(data, size, 1);
  const Trace slices = run(data, size, 31);
  // Good frames never depend on how the stream was cut.
  if (whole.frames != bytes.frames || whole.frames != slices.frames) std::abort();
  return 0;
}
