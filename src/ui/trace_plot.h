#pragma once
// One chart of the weight trace, behind an interface of our own: series of two
// kinds (a polyline, or an area filled down to zero without outline), points
// set as a whole per series, axis ranges set from the core's model, and a
// rubber band that reports the ranges the user dragged instead of zooming by
// itself. No legend, no title. Drawn by QCustomPlot.
#include <QColor>
#include <QRect>
#include <QWidget>
#include <functional>
#include <vector>

#include "monitor/trace_reducer.h"
#include "monitor/weight_trace.h"

class QCustomPlot;

namespace vantor {

class TracePlot : public QWidget {
  Q_OBJECT

 public:
  enum class Kind { Line, Area };

  explicit TracePlot(const QString& name, QWidget* parent = nullptr);

  // Returns the series' index on this chart; series are drawn in this order.
  int addSeries(const QString& name, Kind kind, const QColor& colour, int penWidth = 1);
  void setPoints(int series, const std::vector<TracePoint>& points);
  void setRanges(const TraceChartAxes& axes);
  // Draws the chart now; the window shows it at its next paint.
  void replot();

  // Pixel columns of the plotting area.
  int plotWidth() const;
  int pointCount(int series) const;
  TraceChartAxes ranges() const;
  // The ranges a rubber band over these pixels (plot coordinates) stands for;
  // the band itself reports them to onZoom.
  TraceChartAxes rangesOf(const QRect& band) const;
  QCustomPlot* plot() const { return plot_; }

  std::function<void(const TraceChartAxes&)> onZoom;

 private:
  QCustomPlot* plot_;
};

}  // namespace vantor
