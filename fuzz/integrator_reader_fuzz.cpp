// The integrator message reader fed arbitrary byte streams: whole, byte by byte
// and in slices chosen by the input. Every way must give the same messages, and
// every message must be a checked frame of at most 3000 text bytes.
//
// The stream is cut into segments that arrive at times chosen by the input (so
// partial messages expire between them); a segment is
// "[step][length: 2 bytes][bytes]", its time the previous one plus step x 10 ms.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "peripherals/integrator_frame.h"
#include "timed_stream.h"

using namespace vantor;

namespace {

struct Trace : IntegratorSink {
  std::vector<std::string> messages;
  void integratorMessage(std::string_view text, ByteView frame) override {
    if (text.size() > IntegratorReader::kMaxText || frame.size() != text.size() + 3 ||
        frame[0] != 0x02 || frame[frame.size() - 2] != 0x03 ||
        frame.back() != integratorBcc(text) || text.find('\x02') != std::string_view::npos ||
        text.find('\x03') != std::string_view::npos)
      std::abort();
    messages.emplace_back(text);
  }
  void integratorRejected(const char*, ByteView bytes) override {
    if (bytes.size() > IntegratorReader::kMaxText + 2) std::abort();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::sameInEverySlicing<IntegratorReader, Trace>(data, size,
                                                    [](const Trace& t) { return t.messages; });
  return 0;
}
