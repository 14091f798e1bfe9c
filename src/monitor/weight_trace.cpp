#include "monitor/weight_trace.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "link/text_format.h"
#include "monitor/trace_reducer.h"

namespace vantor {

WeightTrace::WeightTrace(Connection& connection, const LiveStatus& liveStatus,
                         const ConfigBlocks& blocks, uint64_t historyCap)
    : connection_(connection), liveStatus_(liveStatus), blocks_(blocks), history_(historyCap) {
  pesoChart.bottom = {0, kInitialBottomMax, false};
  pesoChart.left = {0, 0, true};
  outCh.bottom = {0, kInitialBottomMax, false};
  outCh.left = {0, 2, false};
}

void WeightTrace::handleReply(int code, PayloadReader& p) {
  if (code != 14) return;
  const uint32_t n = p.u32(0);
  controls.dataN = format("%u", n);
  // Only whole samples that arrived are used; asking for the last announced
  // byte lets the channel report a block shorter than its count.
  const uint64_t present = p.size() >= 4 ? (p.size() - 4) / kTraceSampleBytes : 0;
  const uint32_t whole = static_cast<uint32_t>(std::min<uint64_t>(n, present));
  if (whole < n) p.u8(4 + kTraceSampleBytes * static_cast<uint64_t>(n) - 1);

  scrollTo(counter_ + whole);
  const uint8_t shown = (controls.filVisi ? kFilShown : 0) | (controls.calcVisi ? kCalcShown : 0);
  const bool wasFull = history_.dropped() > 0;
  const uint8_t* bytes = p.bytes().data() + 4;
  for (uint32_t i = 0; i < whole; ++i) {
    const TraceSample s = decodeTraceSample(bytes + kTraceSampleBytes * i);
    if (recording_) record_.addSample(s);
    ++counter_;
    history_.append(s, shown);
    if (s.calculated() != 0) controls.pesoCalc = format("%d", s.calculated());
  }
  if (recording_) {
    recorded_ += whole;
    std::string error;
    if (!record_.flush(error)) {
      recordError_ = error;
      controls.message = "Recording stopped: " + error;
      stopRecording(false);
    }
  }
  if (!wasFull && history_.dropped() > 0) {
    controls.historyNote = format(
        "Trace history full: only the newest %llu samples (%.0f min at 1000 a second) are kept",
        static_cast<unsigned long long>(history_.cap()), double(history_.cap()) / 60000.0);
  }
  refreshAutoLeft();
  changed();
}

// One move per block, before its points: the page shows the newest kPage
// samples once there are more than that.
void WeightTrace::scrollTo(uint32_t end) {
  if (end <= kPage) return;
  const TraceAxis page{double(end - kPage), double(end), false};
  pesoChart.bottom = page;
  outCh.bottom = page;
}

void WeightTrace::refreshAutoLeft() {
  if (!pesoChart.left.automatic) return;
  int32_t lo = 0, hi = 0;
  if (!traceValueRange(history_, pesoChart.bottom.min, pesoChart.bottom.max, 0, kWeightChartSeries,
                       lo, hi)) {
    lo = 0;
    hi = 0;
  }
  if (lo == hi) {  // a flat line still gets a visible band
    pesoChart.left.min = double(lo) - 1;
    pesoChart.left.max = double(hi) + 1;
  } else {
    pesoChart.left.min = lo;
    pesoChart.left.max = hi;
  }
}

void WeightTrace::CheckBoxPesoOnClick(bool checked) {
  controls.checkBoxPesoOn = checked;
  connection_.SelAutoClick(checked ? PollMode::Peso : PollMode::Off);
  changed();
}

void WeightTrace::FilVisiClick(bool checked) {
  controls.filVisi = checked;
  changed();
}

void WeightTrace::CalcVisiClick(bool checked) {
  controls.calcVisi = checked;
  changed();
}

void WeightTrace::SavePesoClick(bool checked, const std::optional<std::string>& path) {
  controls.savePeso = checked;
  if (checked) {
    if (recording_) return;
    std::string& error = recordError_;
    error.clear();
    if (!path) {
      controls.savePeso = false;  // nothing records, so the box says so
    } else if (!record_.open(*path, error)) {
      controls.savePeso = false;
      controls.message = error;
    } else {
      connection_.SelAutoClick(PollMode::Peso);
      recording_ = true;
      recorded_ = 0;
      controls.checkBoxPesoOnEnabled = false;
      controls.message = "Recording to " + *path;
    }
    changed();
    return;
  }
  if (!recording_) return;
  stopRecording(true);
}

void WeightTrace::stopRecording(bool writeTrailer) {
  recording_ = false;
  controls.savePeso = false;
  controls.checkBoxPesoOnEnabled = true;
  if (writeTrailer) {
    std::string& error = recordError_;
    const std::string path = record_.path();
    if (record_.finish(trailer(), error)) {
      controls.message = format("Recorded %llu samples to %s",
                                static_cast<unsigned long long>(recorded_), path.c_str());
    } else {
      controls.message = "Recording stopped: " + error;
    }
  }
  record_.close();
  controls.checkBoxPesoOn = false;
  connection_.SelAutoClick(PollMode::Off);
  changed();
}

TraceTrailer WeightTrace::trailer() const {
  const auto sys = blocks_.values(BlockId::Sys);
  auto word = [&sys](size_t i) { return i < sys.size() ? static_cast<int32_t>(sys[i]) : 0; };
  return {static_cast<int32_t>(liveStatus_.fields().lastWeighingTime),
          word(6),
          word(7),
          word(8),
          word(11),
          word(12)};
}

void WeightTrace::zoom(TraceChart chart, const TraceChartAxes& to) {
  std::vector<TraceChartAxes>& stack = chart == TraceChart::Peso ? pesoZooms_ : outZooms_;
  TraceChartAxes& axes = chart == TraceChart::Peso ? pesoChart : outCh;
  if (stack.size() == kZoomDepth) stack.erase(stack.begin());
  stack.push_back(axes);
  axes = to;
  axes.bottom.automatic = false;
  axes.left.automatic = false;
  changed();
}

void WeightTrace::UZoomClick() {
  if (!pesoZooms_.empty()) {
    pesoChart = pesoZooms_.back();
    pesoZooms_.pop_back();
  }
  if (!outZooms_.empty()) {
    outCh = outZooms_.back();
    outZooms_.pop_back();
  }
  refreshAutoLeft();
  changed();
}

void WeightTrace::LinkX0Click() {
  outCh.bottom.automatic = false;
  outCh.bottom.max = pesoChart.bottom.max;
  outCh.bottom.min = pesoChart.bottom.min;
  changed();
}

void WeightTrace::UzoomB0Click() {
  pesoChart.left.automatic = false;
  pesoChart.left.max += kZeroSearchMargin;
  pesoChart.left.min -= kZeroSearchMargin;
  changed();
}

bool WeightTrace::exportCsv(const std::string& path, double xMin, double xMax,
                            std::string& error) const {
  errno = 0;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    error = format("Cannot create %s: %s", path.c_str(), std::strerror(errno));
    return false;
  }
  std::string text = "counter,real,filtered,flags,calculated\r\n";
  bool ok = true;
  // Whole samples of [xMin, xMax] that the history holds.
  uint64_t lo = history_.firstX(), end = lo;
  if (xMin <= xMax) {
    const double first = std::max(std::ceil(xMin), double(history_.firstX()));
    const double last = std::min(std::floor(xMax), double(history_.endX()) - 1);
    if (first <= last) {
      lo = static_cast<uint64_t>(first);
      end = static_cast<uint64_t>(last) + 1;
    }
  }
  for (uint64_t x = lo; x < end && ok; ++x) {
    const TraceSample& s = history_.sample(x);
    text += format("%llu,%d,%d,%u,%d\r\n", static_cast<unsigned long long>(x), s.real, s.filtered,
                   unsigned{s.flags()}, s.calculated());
    if (text.size() >= (1u << 16)) {
      ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
      text.clear();
    }
  }
  ok = ok && std::fwrite(text.data(), 1, text.size(), f) == text.size();
  ok = std::fflush(f) == 0 && ok;
  const int err = errno != 0 ? errno : EIO;
  ok = std::fclose(f) == 0 && ok;
  if (!ok) {
    error = format("Cannot write %s: %s", path.c_str(), std::strerror(err));
    std::remove(path.c_str());
  }
  return ok;
}

}  // namespace vantor
