// The weight trace page under load: a real PesoPage offscreen with its ten
// series, fed 250-sample blocks straight into the core (no sockets). Reports
// the update-plus-paint time per block with the history empty, at 1 hour and
// at 8 hours; the time to zoom out to the whole 8-hour history; the bytes the
// history holds per sample; and the charts' paint time next to a bare QPainter
// drawing the same reduced points. Reported, never pass or fail.
#include <qcustomplot.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <vector>

#include "app/device.h"
#include "platform/qt_seams.h"
#include "support/median.h"
#include "ui/peso_page.h"
#include "ui/trace_plot.h"
#include "ui/window_settings.h"

using namespace vantor;

namespace {

constexpr uint32_t kBlock = 250;
constexpr int kBlocksMeasured = 200;

void putLe32(Bytes& out, uint32_t v) {
  for (int s = 0; s < 32; s += 8) out.push_back(static_cast<uint8_t>(v >> s));
}

// A block of a line in motion: boxes every 1200 samples, noise, pulses.
Bytes lineBlock(uint64_t first, uint32_t n) {
  Bytes out;
  putLe32(out, n);
  for (uint64_t i = first; i < first + n; ++i) {
    const uint64_t p = i % 1200;
    const bool box = p >= 200 && p < 700;
    const int32_t noise = static_cast<int32_t>((i * 2654435761u) >> 28) - 8;
    const int32_t real = (box ? 1200 : 0) + noise;
    const uint8_t flags =
        static_cast<uint8_t>((box ? 0x01 : 0) | (p >= 710 && p < 760 ? 0x02 : 0) |
                             (p >= 260 && p < 330 ? 0x10 : 0) | (p >= 330 && p < 760 ? 0x20 : 0));
    const int32_t calc = p >= 700 ? 1200 + noise / 4 : 0;
    putLe32(out, static_cast<uint32_t>(real));
    putLe32(out, static_cast<uint32_t>(box ? 1190 : 0));
    putLe32(out, static_cast<uint32_t>(calc) << 8 | flags);
  }
  return out;
}

double msSince(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e6; }

double percentile(std::vector<double> v, double q) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[std::min(v.size() - 1, static_cast<size_t>(q * double(v.size())))];
}

// The reduced points of one chart drawn with a bare QPainter, as polylines
// and filled areas, onto an image of the chart's size.
void floorPaint(QImage& image, const ReducedTrace& r, int first, int end,
                const TraceChartAxes& axes) {
  image.fill(Qt::white);
  QPainter painter(&image);
  const double sx = image.width() / std::max(1e-9, axes.bottom.max - axes.bottom.min);
  const double sy = image.height() / std::max(1e-9, axes.left.max - axes.left.min);
  QPolygonF line;
  for (int k = first; k < end; ++k) {
    const auto& pts = r.series[k];
    line.resize(static_cast<qsizetype>(pts.size()));
    for (size_t i = 0; i < pts.size(); ++i)
      line[qsizetype(i)] = QPointF((pts[i].x - axes.bottom.min) * sx,
                                   image.height() - (pts[i].y - axes.left.min) * sy);
    const bool area = k == SensOn || k == ReadCode || k == SensorOn;
    if (area && !line.isEmpty()) {
      const double zero = image.height() + axes.left.min * sy;
      line.prepend(QPointF(line.front().x(), zero));
      line.append(QPointF(line.back().x(), zero));
      painter.setPen(Qt::NoPen);
      painter.setBrush(Qt::yellow);
      painter.drawPolygon(line);
    } else {
      painter.setPen(QPen(Qt::red, k < kWeightChartSeries ? 1 : 2));
      painter.drawPolyline(line);
    }
  }
}

struct Phase {
  std::vector<double> block;  // update + paint per block
  std::vector<double> paint;  // the two charts' replot
  std::vector<double> floor;  // the same points with a bare QPainter
};

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir dir;
  QtSeams seams;
  Device device(seams);
  WindowSettings settings(dir.path());
  PesoPage page(device, settings);
  page.resize(1000, 470);
  page.show();
  QApplication::processEvents();
  WeightTrace& trace = device.weightTrace;
  trace.controls.filVisi = true;  // all ten series get points

  uint64_t fed = 0;
  auto feedCore = [&](uint32_t n) {
    const Bytes payload = lineBlock(fed, n);
    PayloadReader reader(payload);
    trace.handleReply(14, reader);
    fed += n;
  };
  auto fillTo = [&](uint64_t samples) {
    while (fed + 1000 <= samples) feedCore(1000);
  };
  QImage pesoFloor(page.pesoChart()->plot()->size(), QImage::Format_ARGB32_Premultiplied);
  QImage outFloor(page.outCh()->plot()->size(), QImage::Format_ARGB32_Premultiplied);
  auto measure = [&](Phase& phase) {
    for (int b = 0; b < kBlocksMeasured; ++b) {
      QElapsedTimer t;
      t.start();
      feedCore(kBlock);
      page.drawNow();
      QApplication::processEvents();  // the window's paint
      phase.block.push_back(msSince(t));
      t.restart();
      page.pesoChart()->replot();
      page.outCh()->replot();
      phase.paint.push_back(msSince(t));
      t.restart();
      floorPaint(pesoFloor, page.reduced(TraceChart::Peso), 0, kWeightChartSeries, trace.pesoChart);
      floorPaint(outFloor, page.reduced(TraceChart::Out), kWeightChartSeries, kTraceSeriesCount,
                 trace.outCh);
      phase.floor.push_back(msSince(t));
      QApplication::processEvents();
    }
  };

  Phase empty, hour, eight;
  measure(empty);
  fillTo(TraceHistory::kSamplesPerHour);
  measure(hour);
  fillTo((qEnvironmentVariableIsSet("TRACE_BENCH_QUICK") ? 1 : 8) * TraceHistory::kSamplesPerHour);
  measure(eight);

  // Zoom out to the whole history, both charts.
  std::vector<double> zoom;
  const TraceHistory& h = trace.history();
  for (int i = 0; i < 5; ++i) {
    QElapsedTimer t;
    t.start();
    trace.zoom(TraceChart::Peso, {{double(h.firstX()), double(h.endX()), false}, {-100, 1500}});
    trace.LinkX0Click();
    page.drawNow();
    zoom.push_back(msSince(t));
    trace.UZoomClick();
    page.drawNow();
  }
  // Where the zoom's time goes: the reduction, then each chart's paint.
  {
    trace.zoom(TraceChart::Peso, {{double(h.firstX()), double(h.endX()), false}, {-100, 1500}});
    trace.LinkX0Click();
    page.drawNow();
    QElapsedTimer t;
    t.start();
    ReducedTrace r;
    reduceTrace(h, double(h.firstX()), double(h.endX()), page.pesoChart()->plotWidth(), r);
    const double reduceMs = msSince(t);
    t.restart();
    page.pesoChart()->replot();
    const double pesoMs = msSince(t);
    t.restart();
    page.outCh()->replot();
    std::printf(
        "whole-history zoom: reduce %.2f ms, PesoChart paint %.2f ms, OutCh paint %.2f ms\n",
        reduceMs, pesoMs, msSince(t));
    trace.UZoomClick();
  }
  const double bytesPerSample = double(h.bytesHeld()) / double(h.size());

  const double p0 = percentile(empty.block, 0.95), p1 = percentile(hour.block, 0.95),
               p8 = percentile(eight.block, 0.95);
  std::vector<double> paint = empty.paint, floor = empty.floor;
  paint.insert(paint.end(), eight.paint.begin(), eight.paint.end());
  floor.insert(floor.end(), eight.floor.begin(), eight.floor.end());
  const double paintFloor = bench::median(paint) / bench::median(floor);
  std::printf("per block of %u samples (update + paint), %d blocks each:\n", kBlock,
              kBlocksMeasured);
  std::printf("  0 h: median %.2f ms, p95 %.2f ms\n", bench::median(empty.block), p0);
  std::printf("  1 h: median %.2f ms, p95 %.2f ms\n", bench::median(hour.block), p1);
  std::printf("  8 h: median %.2f ms, p95 %.2f ms (%llu samples held)\n",
              bench::median(eight.block), p8, static_cast<unsigned long long>(h.size()));
  std::printf("charts' paint median %.2f ms, bare QPainter on the same points %.2f ms\n",
              bench::median(paint), bench::median(floor));
  std::printf(
      "targets: p95 <= 5 ms, p95 8 h / 0 h <= 1.3, zoom <= 30 ms, <= 16 bytes/sample, "
      "paint/floor <= 2\n");
  std::printf(
      "trace_bench: p95 %.2f ms (0 h), %.2f ms (1 h), %.2f ms (8 h); ratio %.2f; zoom %.1f "
      "ms; bytes/sample %.2f; paint/floor %.2f\n",
      p0, p1, p8, p8 / p0, bench::median(zoom), bytesPerSample, paintFloor);
  return 0;
}
