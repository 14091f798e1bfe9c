// The reply frame reader fed arbitrary byte streams: whole, byte by byte and in
// slices chosen by the input. Every way must give the same frames.
//
// The stream is cut into segments that arrive at times chosen by the input (so
// partial frames expire between them, as on a slow or broken link); a segment is
// "[step][length: 2 bytes][bytes]", its time the previous one plus step x 10 ms,
// and the poll tick's expiry check runs between segments. Inputs of up to
// 70 000 bytes reach frames whose ParNum is anywhere up to 65 535.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "link/frame_reader.h"
#include "timed_stream.h"

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Good frames never depend on how the stream was cut.
  fuzz::sameInEverySlicing<FrameReader, Trace>(data, size, [](const Trace& t) { return t.frames; });
  return 0;
}
