#include <gtest/gtest.h>

#include <filesystem>

#include "link_fixture.h"
#include "monitor/trace_reducer.h"
#include "table_device.h"
#include "temp_dir.h"

using namespace vantor;
using namespace vantor::test;

namespace {

struct Sample {
  int32_t real = 0;
  int32_t filtered = 0;
  uint8_t flags = 0;
  int32_t calc = 0;
};

void putSample(Bytes& out, const Sample& s) {
  putLe32(out, static_cast<uint32_t>(s.real));
  putLe32(out, static_cast<uint32_t>(s.filtered));
  putLe32(out, static_cast<uint32_t>(s.calc) << 8 | s.flags);
}

// A reply-14 payload: the count, then the samples.
Bytes block(const std::vector<Sample>& samples, std::optional<uint32_t> count = std::nullopt) {
  Bytes out;
  putLe32(out, count.value_or(static_cast<uint32_t>(samples.size())));
  for (const Sample& s : samples) putSample(out, s);
  return out;
}

std::vector<Sample> ramp(size_t n, int32_t base = 0) {
  std::vector<Sample> out(n);
  for (size_t i = 0; i < n; ++i) out[i].real = base + static_cast<int32_t>(i);
  return out;
}

struct WeightTraceTest : LinkFixture {
  TempDir dir;
  WeightTrace& trace() { return device.weightTrace; }
  WeightTraceControls& controls() { return device.weightTrace.controls; }
  WeightTraceTest() { connectMain(); }
  void feed(const Bytes& payload) { ask(14, payload); }
  void feed(const std::vector<Sample>& samples) { feed(block(samples)); }
  // The points the charts would get for every sample held.
  ReducedTrace everything() {
    ReducedTrace r;
    reduceTrace(trace().history(), 0, 1e12, 1 << 20, r);
    return r;
  }
};

// A fresh device for one case of a table.
struct TraceRig : WeightTraceTest {
  void TestBody() override {}
};

std::pair<double, double> bottom(const TraceChartAxes& a) { return {a.bottom.min, a.bottom.max}; }

}  // namespace

// The sample axis moves once per block, before the block's points, and only
// once the newest sample is past the first page of 1000.
TEST_F(WeightTraceTest, BothSampleAxesScrollOncePerBlockPastTheFirstPage) {
  struct Case {
    const char* what;
    uint32_t before;
    uint32_t n;
    double min, max;
  };
  const Case cases[] = {
      {"998 + 5 shows 3 .. 1003", 998, 5, 3, 1003},
      {"1000 from 0 stays on the first page", 0, 1000, 0, WeightTrace::kInitialBottomMax},
      {"1000 then 1 moves by one", 1000, 1, 1, 1001},
      {"an empty block past 1000 still sets the page", 1500, 0, 500, 1500},
      {"an empty block within the first page leaves it", 400, 0, 0, WeightTrace::kInitialBottomMax},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TraceRig t;
    if (c.before) t.feed(ramp(c.before));
    t.feed(ramp(c.n, 5000));
    EXPECT_EQ(t.trace().counter(), c.before + c.n);
    EXPECT_EQ(t.controls().dataN, std::to_string(c.n));
    EXPECT_EQ(bottom(t.trace().pesoChart), std::make_pair(c.min, c.max));
    EXPECT_EQ(bottom(t.trace().outCh), std::make_pair(c.min, c.max));
  }
}

TEST_F(WeightTraceTest, SamplesTakeTheCounterAfterItsIncrementAsX) {
  feed(ramp(998));
  feed(ramp(5, 7000));
  const auto real = everything().series[RealPeso];
  ASSERT_EQ(real.size(), 1003u);
  EXPECT_EQ(real[998].x, 999);
  EXPECT_EQ(real[998].y, 7000);
  EXPECT_EQ(real.back().x, 1003);
  EXPECT_EQ(real.back().y, 7004);
}

TEST_F(WeightTraceTest, CalculatedWeightIsSigned24BitAndZeroLeavesPesoCalc) {
  feed(block({{.calc = 250}}));
  EXPECT_EQ(controls().pesoCalc, "250");
  feed(hex("01 00 00 00  00 00 00 00  00 00 00 00  00 FF FF FF"));
  EXPECT_EQ(controls().pesoCalc, "-1");
  EXPECT_EQ(trace().history().sample(2).calculated(), -1);
  EXPECT_EQ(trace().history().sample(2).flags(), 0);
  feed(block({{.real = 5, .calc = 0}}));
  EXPECT_EQ(controls().pesoCalc, "-1");
  feed(block({{.calc = -8388608}, {.calc = 8388607}}));
  EXPECT_EQ(controls().pesoCalc, "8388607");
  EXPECT_EQ(trace().history().sample(4).calculated(), -8388608);
}

// Each series' y value from the flags, one row per flags byte.
TEST_F(WeightTraceTest, FlagsDriveTheSignalSeries) {
  struct Case {
    uint8_t flags;
    std::array<int32_t, kTraceSeriesCount> y;  // SensOn CalcPeso RealPeso FilPeso ReadCode ...
  };
  const Case cases[] = {
      {0x30, {0, 9, 77, -4, 2, 0, 0, 0, 0, 2}},
      {0x01, {77, 9, 77, -4, 0, 1, 0, 0, 0, 0}},
      {0x0E, {0, 9, 77, -4, 0, 0, 1, 1, 1, 0}},
      {0xC0, {0, 9, 77, -4, 0, 0, 0, 0, 0, 0}},
  };
  controls().filVisi = true;
  for (const Case& c : cases) feed(block({{77, -4, c.flags, 9}}));
  const ReducedTrace r = everything();
  for (size_t i = 0; i < std::size(cases); ++i) {
    for (int k = 0; k < kTraceSeriesCount; ++k) {
      SCOPED_TRACE(std::string(traceSeriesName(k)) + " flags " + std::to_string(cases[i].flags));
      ASSERT_EQ(r.series[k].size(), std::size(cases));
      EXPECT_EQ(r.series[k][i].y, cases[i].y[k]);
    }
  }
}

TEST_F(WeightTraceTest, AHiddenLineGetsNoPointsSoItBridgesTheGap) {
  controls().filVisi = true;
  feed(ramp(3));
  trace().FilVisiClick(false);
  trace().CalcVisiClick(false);
  feed(ramp(4));
  trace().FilVisiClick(true);
  feed(ramp(2));
  const ReducedTrace r = everything();
  EXPECT_EQ(r.series[RealPeso].size(), 9u);
  ASSERT_EQ(r.series[FilPeso].size(), 5u);
  EXPECT_EQ(r.series[FilPeso][2].x, 3);
  EXPECT_EQ(r.series[FilPeso][3].x, 8);
  EXPECT_EQ(r.series[CalcPeso].size(), 3u);
  EXPECT_EQ(trace().counter(), 9u);
}

// A count larger than the payload: only the whole samples present are drawn,
// DataN shows the count and the channel reports the reply as short.
TEST_F(WeightTraceTest, ACountBeyondThePayloadUsesTheWholeSamplesPresent) {
  std::vector<std::tuple<int, size_t, size_t>> shortReplies;
  device.channel.onShortReply.connect(
      [&](int code, size_t had, size_t wanted) { shortReplies.emplace_back(code, had, wanted); });
  Bytes payload = block(ramp(2, 40), 3);
  payload.insert(payload.end(), {1, 2, 3, 4, 5});  // part of a third sample
  feed(payload);
  EXPECT_EQ(controls().dataN, "3");
  EXPECT_EQ(trace().counter(), 2u);
  EXPECT_EQ(everything().series[RealPeso].back().y, 41);
  ASSERT_EQ(shortReplies.size(), 1u);
  EXPECT_EQ(shortReplies[0], std::make_tuple(14, size_t{33}, size_t{40}));

  feed(block({}, 0xFFFFFFFFu));  // a count no reply could carry
  EXPECT_EQ(controls().dataN, "4294967295");
  EXPECT_EQ(trace().counter(), 2u);
  EXPECT_EQ(shortReplies.size(), 2u);
}

// Past the history's cap the oldest samples go, and the page says so.
TEST_F(WeightTraceTest, ThePageSaysSoOnceTheOldestSamplesAreDropped) {
  WeightTrace small(device.connection, device.liveStatus, device.configBlocks,
                    TraceHistory::kChunk);
  const Bytes payload = block(ramp(1000));
  for (int i = 0; i < 131; ++i) {
    PayloadReader p(payload);
    small.handleReply(14, p);
  }
  EXPECT_EQ(small.history().dropped(), 0u);
  EXPECT_EQ(small.controls.historyNote, "");
  PayloadReader p(payload);
  small.handleReply(14, p);
  EXPECT_EQ(small.history().dropped(), TraceHistory::kChunk);
  EXPECT_EQ(small.counter(), 132000u);
  EXPECT_EQ(small.controls.historyNote,
            "Trace history full: only the newest 65536 samples (1 min at 1000 a second) are kept");
}

TEST(TraceRecordLine, NumbersInTheirPlacesAndWiderOnesLengthenTheLine) {
  struct Case {
    TraceSample s;
    const char* line;
  };
  const Case cases[] = {
      {{12, -3, 1}, "    12;     -3;      1;      0\r\n"},
      {{-99999, 999999, 0xFFFFFF00u | 255}, "-99999; 999999;    255;     -1\r\n"},
      {{1234567, -1234567, 0x7FFFFF00u}, "1234567; -1234567;      0; 8388607\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(traceRecordLine(c.s), c.line);
  EXPECT_EQ(traceTrailerText({1, 2, 3, 4, 5, 6}),
            "TimP; QpMe; InsP; Delt; TAcM; TAcN\r\n   1;    2;    3;    4;    5;    6\r\n");
  EXPECT_EQ(traceTrailerText({65535, -1, 12345, 0, 0, 0}),
            "TimP; QpMe; InsP; Delt; TAcM; TAcN\r\n65535;   -1; 12345;    0;    0;    0\r\n");
}

TEST_F(WeightTraceTest, ARecordingHoldsEverySampleThenTheTrailer) {
  Bytes status(56, 0);
  status[44] = 0x2C;  // weighing time 300
  status[45] = 0x01;
  ask(51, status);
  Bytes sys;
  for (uint32_t i = 0; i < 30; ++i) putLe32(sys, 100 + i);
  ask(52, sys);
  feed(ramp(2));  // before the recording: not in the file

  const std::string path = dir.file(std::string(120, 'r') + ".txt");  // long paths are fine
  ASSERT_TRUE(trace().savePesoWantsPath(true));
  trace().SavePesoClick(true, path);
  EXPECT_TRUE(trace().recording());
  EXPECT_TRUE(controls().savePeso);
  EXPECT_FALSE(controls().checkBoxPesoOnEnabled);
  EXPECT_EQ(device.connection.controls.selAuto, PollMode::Peso);
  EXPECT_FALSE(trace().savePesoWantsPath(true));

  feed(block({{12, -3, 1, 0}, {1000000, 7, 0x21, -20}}));
  trace().SavePesoClick(false);
  EXPECT_FALSE(trace().recording());
  EXPECT_TRUE(controls().checkBoxPesoOnEnabled);
  EXPECT_FALSE(controls().checkBoxPesoOn);
  EXPECT_EQ(device.connection.controls.selAuto, PollMode::Off);
  EXPECT_EQ(trace().samplesRecorded(), 2u);
  EXPECT_EQ(readWhole(path),
            "    12;     -3;      1;      0\r\n"
            "1000000;      7;     33;    -20\r\n"
            "TimP; QpMe; InsP; Delt; TAcM; TAcN\r\n"
            " 300;  106;  107;  108;  111;  112\r\n");
  EXPECT_EQ(controls().message, "Recorded 2 samples to " + path);

  const std::string recorded = readWhole(path);
  feed(ramp(1));  // recording off: the file stays as it is
  EXPECT_EQ(readWhole(path), recorded);
}

// A dialog cancelled or a file that cannot be created leaves SavePeso unchecked.
TEST_F(WeightTraceTest, SavePesoIsUncheckedWhenNothingRecords) {
  trace().SavePesoClick(true, std::nullopt);
  EXPECT_FALSE(controls().savePeso);
  EXPECT_FALSE(trace().recording());
  EXPECT_EQ(controls().message, "");

  const std::string path = dir.file("missing/trace.txt");
  trace().SavePesoClick(true, path);
  EXPECT_FALSE(controls().savePeso);
  EXPECT_FALSE(trace().recording());
  EXPECT_TRUE(controls().checkBoxPesoOnEnabled);
  EXPECT_EQ(controls().message, "Cannot create " + path + ": No such file or directory");
  EXPECT_EQ(device.connection.controls.selAuto, PollMode::Off);
  trace().SavePesoClick(false);  // nothing to end
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(WeightTraceTest, AWriteErrorStopsTheRecordingAndSaysSo) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  trace().SavePesoClick(true, std::string("/dev/full"));
  ASSERT_TRUE(trace().recording());
  feed(ramp(3));
  EXPECT_FALSE(trace().recording());
  EXPECT_FALSE(controls().savePeso);
  EXPECT_TRUE(controls().checkBoxPesoOnEnabled);
  EXPECT_EQ(device.connection.controls.selAuto, PollMode::Off);
  EXPECT_EQ(controls().message,
            "Recording stopped: Cannot write /dev/full: No space left on device");
  EXPECT_EQ(trace().counter(), 3u);  // the trace itself goes on
  feed(ramp(2));
  EXPECT_EQ(trace().counter(), 5u);
}

TEST(TraceRecordFile, WhatWasWrittenBeforeAFailureStaysReadable) {
  TempDir dir;
  const std::string path = dir.file("kept.txt");
  TraceRecordFile file;
  std::string error;
  ASSERT_TRUE(file.open(path, error));
  file.addSample({1, 2, 3});
  ASSERT_TRUE(file.flush(error));
  EXPECT_EQ(readWhole(path), "     1;      2;      3;      0\r\n");  // on disk, file still open
  file.close();
  EXPECT_FALSE(file.flush(error));  // closed: nothing more is written
  EXPECT_EQ(readWhole(path), "     1;      2;      3;      0\r\n");
}

TEST_F(WeightTraceTest, CheckBoxPesoOnSelectsThePollMode) {
  trace().CheckBoxPesoOnClick(true);
  EXPECT_EQ(device.connection.controls.selAuto, PollMode::Peso);
  relTim().fire();
  EXPECT_EQ(sentCodes(), std::vector<int>{14});
  trace().CheckBoxPesoOnClick(false);
  EXPECT_EQ(device.connection.controls.selAuto, PollMode::Off);
}

TEST_F(WeightTraceTest, ZoomIsUndoneStepByStepAndLinkX0CopiesTheRange) {
  feed(ramp(2000));
  const TraceChartAxes live = trace().pesoChart;
  EXPECT_TRUE(live.left.automatic);
  // Samples 1000 .. 2000: real weights up to 1999, SensOn and CalcPeso at 0.
  EXPECT_EQ(live.left.min, 0);
  EXPECT_EQ(live.left.max, 1999);

  const TraceChartAxes first{{1200, 1500, false}, {0, 50, false}};
  const TraceChartAxes second{{1300, 1400, false}, {10, 20, false}};
  trace().zoom(TraceChart::Peso, first);
  trace().zoom(TraceChart::Peso, second);
  EXPECT_EQ(trace().pesoChart, second);
  EXPECT_EQ(bottom(trace().outCh), std::make_pair(1000.0, 2000.0));

  trace().LinkX0Click();
  EXPECT_EQ(bottom(trace().outCh), std::make_pair(1300.0, 1400.0));
  EXPECT_EQ(trace().outCh.left, (TraceAxis{0, 2, false}));

  trace().UzoomB0Click();
  EXPECT_EQ(trace().pesoChart.left, (TraceAxis{0, 30, false}));

  trace().UZoomClick();
  EXPECT_EQ(trace().pesoChart, first);
  trace().UZoomClick();
  EXPECT_EQ(trace().pesoChart, live);
  trace().UZoomClick();  // nothing left to undo
  EXPECT_EQ(trace().pesoChart, live);
}

TEST_F(WeightTraceTest, ExportWritesOneLinePerSampleOfTheRange) {
  feed(block({{1, 2, 3, 4}, {-5, 6, 0xFF, -7}, {8, 9, 0, 0}}));
  const std::string path = dir.file("trace.csv");
  std::string error;
  ASSERT_TRUE(trace().exportCsv(path, 1.5, 3, error)) << error;
  EXPECT_EQ(readWhole(path),
            "counter,real,filtered,flags,calculated\r\n2,-5,6,255,-7\r\n3,8,9,0,0\r\n");
  ASSERT_TRUE(trace().exportCsv(path, -1e9, 1e9, error));
  EXPECT_EQ(readWhole(path).substr(40, 11), "1,1,2,3,4\r\n");
  EXPECT_FALSE(trace().exportCsv(dir.file("no/such.csv"), 0, 10, error));
  EXPECT_EQ(error, "Cannot create " + dir.file("no/such.csv") + ": No such file or directory");
}
