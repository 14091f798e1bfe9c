#pragma once
// One sample of the weight trace as the device sends it in the reply to
// command 14, and the y value each of the ten chart series takes from it.
#include <array>
#include <cstddef>
#include <cstdint>

namespace vantor {

inline constexpr size_t kTraceSampleBytes = 12;

// The ten series, weight chart first (in drawing order), then the signal chart.
enum TraceSeries : int {
  SensOn,
  CalcPeso,
  RealPeso,
  FilPeso,
  ReadCode,
  SensorOn,
  Out1,
  Out2,
  Out3,
  BarCodeFl,
  kTraceSeriesCount
};
inline constexpr int kWeightChartSeries = 4;  // SensOn .. FilPeso on PesoChart

const char* traceSeriesName(int series);

// 12 bytes little-endian: real weight (signed 32), filtered weight (signed 32),
// then a word whose low byte is the flags and whose upper 24 bits are the
// calculated weight, two's complement.
struct TraceSample {
  int32_t real = 0;
  int32_t filtered = 0;
  uint32_t flagsCalc = 0;

  uint8_t flags() const { return static_cast<uint8_t>(flagsCalc); }
  int32_t calculated() const { return static_cast<int32_t>(flagsCalc) >> 8; }
};
static_assert(sizeof(TraceSample) == 12);

// Which optional lines were shown when the sample arrived (FilVisi, CalcVisi).
inline constexpr uint8_t kFilShown = 1;
inline constexpr uint8_t kCalcShown = 2;

// `bytes` holds at least kTraceSampleBytes.
TraceSample decodeTraceSample(const uint8_t* bytes);

// The sample's y value on `series`; false when that series got no point for it
// (a hidden FilPeso or CalcPeso).
inline bool traceY(const TraceSample& s, uint8_t shown, int series, int32_t& y) {
  const uint8_t f = s.flags();
  switch (series) {
    case SensOn:
      y = (f & 0x01) ? s.real : 0;
      return true;
    case CalcPeso:
      y = s.calculated();
      return (shown & kCalcShown) != 0;
    case RealPeso:
      y = s.real;
      return true;
    case FilPeso:
      y = s.filtered;
      return (shown & kFilShown) != 0;
    case ReadCode:
      y = (f & 0x20) ? 2 : 0;
      return true;
    case SensorOn:
      y = f & 0x01;
      return true;
    case Out1:
      y = (f >> 1) & 1;
      return true;
    case Out2:
      y = (f >> 2) & 1;
      return true;
    case Out3:
      y = (f >> 3) & 1;
      return true;
    case BarCodeFl:
      y = (f & 0x10) ? 2 : 0;
      return true;
    default:
      return false;
  }
}

}  // namespace vantor
