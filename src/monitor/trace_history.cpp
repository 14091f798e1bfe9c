#include "monitor/trace_history.h"

#include <algorithm>

namespace vantor {

void TraceSummary::add(const TraceSample& s, uint8_t shown) {
  for (int k = 0; k < kTraceSeriesCount; ++k) {
    int32_t y;
    if (!traceY(s, shown, k, y)) continue;
    min[k] = std::min(min[k], y);
    max[k] = std::max(max[k], y);
  }
}

void TraceSummary::add(const TraceSummary& o) {
  for (size_t k = 0; k < kTraceSeriesCount; ++k) {
    min[k] = std::min(min[k], o.min[k]);
    max[k] = std::max(max[k], o.max[k]);
  }
}

TraceHistory::Chunk::Chunk() {
  samples.reserve(kChunk);
  shown.reserve(kChunk);
  level1.reserve(kChunk / kBlock1);
  level2.reserve(kChunk / kBlock2);
}

TraceHistory::TraceHistory(uint64_t capSamples) : cap_(std::max<uint64_t>(capSamples, kChunk)) {}

void TraceHistory::append(const TraceSample& s, uint8_t shown) {
  if (chunks_.empty() || chunks_.back()->samples.size() == kChunk) {
    chunks_.push_back(std::make_unique<Chunk>());
  }
  Chunk& c = *chunks_.back();
  const size_t i = c.samples.size();
  c.samples.push_back(s);
  c.shown.push_back(shown);
  if (i % kBlock1 == 0) c.level1.emplace_back();
  if (i % kBlock2 == 0) c.level2.emplace_back();
  c.level1.back().add(s, shown);
  c.level2.back().add(s, shown);
  c.whole.add(s, shown);
  ++appended_;
  // Drop the oldest chunk once the rest still holds the cap.
  while (chunks_.size() > 1 && size() - chunks_.front()->samples.size() >= cap_) {
    dropped_ += chunks_.front()->samples.size();
    chunks_.pop_front();
  }
}

const TraceSample& TraceHistory::sample(uint64_t x) const {
  const uint64_t i = x - firstX();
  return chunks_[i / kChunk]->samples[i % kChunk];
}

uint8_t TraceHistory::shown(uint64_t x) const {
  const uint64_t i = x - firstX();
  return chunks_[i / kChunk]->shown[i % kChunk];
}

void TraceHistory::summarizeChunk(const Chunk& c, size_t a, size_t b, TraceSummary& out) const {
  if (a == 0 && b == c.samples.size()) {
    out.add(c.whole);
    return;
  }
  for (; a < b && a % kBlock1 != 0; ++a) out.add(c.samples[a], c.shown[a]);
  for (; a + kBlock1 <= b && a % kBlock2 != 0; a += kBlock1) out.add(c.level1[a / kBlock1]);
  for (; a + kBlock2 <= b; a += kBlock2) out.add(c.level2[a / kBlock2]);
  for (; a + kBlock1 <= b; a += kBlock1) out.add(c.level1[a / kBlock1]);
  for (; a < b; ++a) out.add(c.samples[a], c.shown[a]);
}

void TraceHistory::summarize(uint64_t x0, uint64_t x1, TraceSummary& out) const {
  x0 = std::max(x0, firstX());
  x1 = std::min(x1, endX());
  if (x0 >= x1) return;
  uint64_t i = x0 - firstX();
  const uint64_t end = x1 - firstX();
  while (i < end) {
    const Chunk& c = *chunks_[i / kChunk];
    const size_t a = i % kChunk;
    const size_t b = static_cast<size_t>(std::min<uint64_t>(kChunk, a + (end - i)));
    summarizeChunk(c, a, b, out);
    i += b - a;
  }
}

uint64_t TraceHistory::bytesHeld() const {
  uint64_t bytes = sizeof(*this);
  for (const auto& c : chunks_) {
    bytes += sizeof(Chunk) + sizeof(void*) + c->samples.capacity() * sizeof(TraceSample) +
             c->shown.capacity() +
             (c->level1.capacity() + c->level2.capacity()) * sizeof(TraceSummary);
  }
  return bytes;
}

}  // namespace vantor
