#pragma once
// A fuzz input read as a byte stream that arrives in timed segments, and the
// stream fed to a reader in pieces of different sizes. A segment is
// "[step][length: 2 bytes][bytes]", its time the previous one plus step x 10 ms;
// the reader's expiry check runs before each segment.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "link/bytes.h"

namespace vantor::fuzz {

struct Segment {
  int64_t at;
  ByteView bytes;
};

inline std::vector<Segment> segments(const uint8_t* data, size_t size) {
  std::vector<Segment> out;
  int64_t now = 0;
  size_t at = 0;
  while (at + 3 <= size) {
    now += data[at] * 10;
    const size_t len = std::min<size_t>(data[at + 1] << 8 | data[at + 2], size - at - 3);
    out.push_back({now, ByteView(data + at + 3, len)});
    at += 3 + len;
  }
  return out;
}

// Feeds every segment: whole (sliceSeed 0), byte by byte (1), or in pieces
// whose sizes follow the bytes themselves (any other seed).
template <typename Reader, typename Sink>
void feedStream(const std::vector<Segment>& stream, size_t sliceSeed, Reader& reader, Sink& sink) {
  for (const Segment& seg : stream) {
    reader.expire(seg.at, sink);
    size_t at = 0;
    while (at < seg.bytes.size()) {
      size_t n = sliceSeed == 0 ? seg.bytes.size()
                                : (sliceSeed == 1 ? 1 : 1 + (seg.bytes[at] * sliceSeed) % 97);
      n = std::min(n, seg.bytes.size() - at);
      reader.feed(seg.bytes.subspan(at, n), seg.at, sink);
      at += n;
    }
  }
}

// Feeds the input's stream whole, byte by byte and in pieces, each time to a new
// Reader and Sink; aborts unless `kept(sink)` comes out the same every time.
template <typename Reader, typename Sink, typename Kept>
void sameInEverySlicing(const uint8_t* data, size_t size, Kept kept) {
  const std::vector<Segment> stream = segments(data, size);
  const auto run = [&](size_t sliceSeed) {
    Reader reader;
    Sink sink;
    feedStream(stream, sliceSeed, reader, sink);
    return kept(sink);
  };
  const auto whole = run(0);
  if (run(1) != whole || run(31) != whole) std::abort();
}

}  // namespace vantor::fuzz
