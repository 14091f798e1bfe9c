// Reply-14 payloads of any content, several in a row: only the whole samples
// that arrived are used, the count is shown as sent, a short block is
// reported as short, and the reduced history stays within its range.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/device.h"
#include "fakes.h"
#include "monitor/trace_reducer.h"

using namespace vantor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  test::FakeSeams seams;
  Device device(seams);
  WeightTrace& trace = device.weightTrace;
  ByteView rest(data, size);
  while (!rest.empty()) {
    // The first byte says how long the next payload is (in samples and bytes).
    const size_t length = std::min<size_t>(rest.size() - 1, size_t{rest[0]} * 7);
    const ByteView payload = rest.subspan(1, length);
    rest = rest.subspan(1 + length);
    trace.controls.filVisi = length & 1;
    trace.controls.calcVisi = length & 2;
    const uint32_t before = trace.counter();
    PayloadReader reader(payload);
    trace.handleReply(14, reader);
    // The count as the channel's reader gives it: bytes that did not arrive read as zero.
    uint32_t n = 0;
    for (size_t b = 0; b < 4 && b < payload.size(); ++b) n |= uint32_t{payload[b]} << (8 * b);
    const uint64_t whole = payload.size() >= 4 ? (payload.size() - 4) / kTraceSampleBytes : 0;
    if (trace.counter() - before != std::min<uint64_t>(n, whole)) std::abort();
    if (trace.controls.dataN != std::to_string(n)) std::abort();
    if (reader.wasShort() != (payload.size() < 4 + kTraceSampleBytes * uint64_t{n})) std::abort();
  }
  ReducedTrace reduced;
  reduceTrace(trace.history(), trace.pesoChart.bottom.min, trace.pesoChart.bottom.max, 97, reduced);
  for (const auto& series : reduced.series) {
    if (series.size() > std::max<uint64_t>(2 * 97, trace.history().size())) std::abort();
    for (const TracePoint& p : series)
      if (p.x < double(reduced.firstX) || p.x >= double(reduced.endX)) std::abort();
  }
  return 0;
}
