#include "monitor/trace_sample.h"

namespace vantor {

const char* traceSeriesName(int series) {
  static constexpr std::array<const char*, kTraceSeriesCount> kNames = {
      "SensOn",   "CalcPeso", "RealPeso", "FilPeso", "ReadCode",
      "SensorOn", "Out1",     "Out2",     "Out3",    "BarCodeFl"};
  return series >= 0 && series < kTraceSeriesCount ? kNames[static_cast<size_t>(series)] : "";
}

TraceSample decodeTraceSample(const uint8_t* b) {
  auto le32 = [b](size_t at) {
    return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
           static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
  };
  TraceSample s;
  s.real = static_cast<int32_t>(le32(0));
  s.filtered = static_cast<int32_t>(le32(4));
  s.flagsCalc = le32(8);
  return s;
}

}  // namespace vantor
