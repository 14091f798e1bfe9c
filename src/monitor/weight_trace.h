#pragma once
// WeightTrace: the "Peso" page. It decodes the trace blocks of command 14,
// keeps every sample in a TraceHistory, moves the two charts' shared sample
// axis once per block, records the samples to a text file while SavePeso is
// on, and holds the axis ranges of both charts as model state: the page draws
// the reduced history of whatever range these say.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/live_status.h"
#include "config/config_blocks.h"
#include "link/command_feature.h"
#include "link/connection.h"
#include "link/signal.h"
#include "monitor/trace_history.h"
#include "monitor/trace_record_file.h"

namespace vantor {

struct TraceAxis {
  double min = 0;
  double max = 0;
  bool automatic = false;
  bool operator==(const TraceAxis&) const = default;
};

struct TraceChartAxes {
  TraceAxis bottom;
  TraceAxis left;
  bool operator==(const TraceChartAxes&) const = default;
};

enum class TraceChart { Peso, Out };

struct WeightTraceControls {
  std::string dataN;     // samples in the last block
  std::string pesoCalc;  // last calculated weight that was not 0
  bool filVisi = false;
  bool calcVisi = true;
  bool checkBoxPesoOn = false;
  bool checkBoxPesoOnEnabled = true;
  bool savePeso = false;
  std::string message;      // recording and export outcomes
  std::string historyNote;  // set once the oldest samples have been dropped
};

class WeightTrace final : public CommandFeature {
 public:
  static constexpr uint32_t kPage = 1000;  // samples on a scrolling page
  static constexpr double kInitialBottomMax = 961.538461538462;
  static constexpr double kZeroSearchMargin = 10;  // UzoomB0 widens by this at each end
  static constexpr size_t kZoomDepth = 64;         // zoom steps UZoom can undo

  WeightTrace(Connection& connection, const LiveStatus& liveStatus, const ConfigBlocks& blocks,
              uint64_t historyCap = TraceHistory::kDefaultCap);

  WeightTraceControls controls;
  TraceChartAxes pesoChart;  // PesoChart: automatic left axis
  TraceChartAxes outCh;      // OutCh: left axis fixed 0..2
  // Told after each block and after every change of the controls or ranges.
  Signal<> onChange;

  void handleReply(int code, PayloadReader& payload) override;

  void CheckBoxPesoOnClick(bool checked);
  // Whether SavePeso's new state asks the user for a file first.
  bool savePesoWantsPath(bool checked) const { return checked && !recording_; }
  // `path` is the file chosen for a new recording; nothing when the dialog was
  // cancelled.
  void SavePesoClick(bool checked, const std::optional<std::string>& path = std::nullopt);
  void UZoomClick();
  void LinkX0Click();
  void UzoomB0Click();
  void FilVisiClick(bool checked);
  void CalcVisiClick(bool checked);
  // The user dragged a zoom rectangle on one chart.
  void zoom(TraceChart chart, const TraceChartAxes& to);

  // One line per sample of [xMin, xMax]: counter, real, filtered, flags,
  // calculated. False with "Cannot create/write PATH: reason".
  bool exportCsv(const std::string& path, double xMin, double xMax, std::string& error) const;

  uint32_t counter() const { return counter_; }
  bool recording() const { return recording_; }
  uint64_t samplesRecorded() const { return recorded_; }
  // Why the last recording could not start, stopped on its own or lost its
  // trailer; empty when it went well.
  const std::string& recordError() const { return recordError_; }
  const TraceHistory& history() const { return history_; }

 private:
  void scrollTo(uint32_t end);
  void refreshAutoLeft();
  void stopRecording(bool writeTrailer);
  TraceTrailer trailer() const;
  void changed() { onChange(); }

  Connection& connection_;
  const LiveStatus& liveStatus_;
  const ConfigBlocks& blocks_;
  TraceHistory history_;
  TraceRecordFile record_;
  uint32_t counter_ = 0;
  bool recording_ = false;
  uint64_t recorded_ = 0;
  std::string recordError_;
  std::vector<TraceChartAxes> pesoZooms_, outZooms_;
};

}  // namespace vantor
