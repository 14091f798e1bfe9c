#include "ui/trace_plot.h"

#include <qcustomplot.h>

#include <QVBoxLayout>
#include <cmath>

namespace vantor {

TracePlot::TracePlot(const QString& name, QWidget* parent)
    : QWidget(parent), plot_(new QCustomPlot(this)) {
  setObjectName(name);
  plot_->setObjectName(name + QStringLiteral("Plot"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(plot_);
  plot_->legend->setVisible(false);
  plot_->setNotAntialiasedElements(QCP::aeAll);  // thin polylines, drawn fast
  plot_->setPlottingHints(QCP::phFastPolylines | QCP::phCacheLabels);
  plot_->xAxis->ticker()->setTickCount(10);
  plot_->xAxis->setSubTicks(false);
  plot_->yAxis->setSubTicks(false);
  plot_->axisRect()->setAutoMargins(QCP::msLeft | QCP::msBottom);
  plot_->axisRect()->setMargins(QMargins(0, 4, 8, 0));
  // One paint buffer for all layers: the rubber band then repaints the chart
  // while dragged, but every replot composes a single buffer.
  plot_->layer(QStringLiteral("overlay"))->setMode(QCPLayer::lmLogical);
  plot_->setSelectionRectMode(QCP::srmCustom);
  connect(plot_->selectionRect(), &QCPSelectionRect::accepted, this,
          [this](const QRect& band, QMouseEvent*) {
            if (band.width() < 3 || band.height() < 3) return;  // a click, not a drag
            if (onZoom) onZoom(rangesOf(band));
          });
}

int TracePlot::addSeries(const QString& name, Kind kind, const QColor& colour, int penWidth) {
  QCPGraph* graph = plot_->addGraph();
  graph->setName(name);
  graph->setAdaptiveSampling(false);  // the core has reduced the points already
  graph->setLineStyle(QCPGraph::lsLine);
  if (kind == Kind::Area) {
    graph->setPen(Qt::NoPen);
    graph->setBrush(colour);  // filled down to zero
  } else {
    graph->setPen(QPen(colour, penWidth));
  }
  return plot_->graphCount() - 1;
}

void TracePlot::setPoints(int series, const std::vector<TracePoint>& points) {
  QVector<QCPGraphData> samples;
  samples.reserve(static_cast<qsizetype>(points.size()));
  const bool area = plot_->graph(series)->pen().style() == Qt::NoPen;
  for (const TracePoint& p : points) {
    // An area is filled from zero to a column's value farthest from zero: its
    // outline stays a simple polygon, which paints fast.
    if (area && !samples.isEmpty() && samples.back().key == p.x) {
      if (std::abs(p.y) > std::abs(samples.back().value)) samples.back().value = p.y;
      continue;
    }
    samples.append({p.x, p.y});
  }
  plot_->graph(series)->data()->set(samples, true);
}

void TracePlot::setRanges(const TraceChartAxes& axes) {
  plot_->xAxis->setRange(axes.bottom.min, axes.bottom.max);
  plot_->yAxis->setRange(axes.left.min, axes.left.max);
}

// The chart is drawn into its buffer now; the window shows it at its next
// paint, together with whatever else changed.
void TracePlot::replot() { plot_->replot(QCustomPlot::rpQueuedRefresh); }

int TracePlot::plotWidth() const { return std::max(1, plot_->axisRect()->width()); }

int TracePlot::pointCount(int series) const { return plot_->graph(series)->data()->size(); }

TraceChartAxes TracePlot::ranges() const {
  const QCPRange x = plot_->xAxis->range(), y = plot_->yAxis->range();
  return {{x.lower, x.upper, false}, {y.lower, y.upper, false}};
}

TraceChartAxes TracePlot::rangesOf(const QRect& band) const {
  const double x0 = plot_->xAxis->pixelToCoord(band.left());
  const double x1 = plot_->xAxis->pixelToCoord(band.right());
  const double y0 = plot_->yAxis->pixelToCoord(band.bottom());
  const double y1 = plot_->yAxis->pixelToCoord(band.top());
  return {{std::min(x0, x1), std::max(x0, x1), false}, {std::min(y0, y1), std::max(y0, y1), false}};
}

}  // namespace vantor
