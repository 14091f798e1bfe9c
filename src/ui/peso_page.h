#pragma once
// The "PesoPage": the weight trace on two charts sharing the sample axis,
// PesoChart (weights, automatic left axis) above OutCh (sensor, outputs and
// barcode flags, left axis 0..2), with the page's controls. The charts show
// the core's history reduced to the visible range and the charts' width; they
// are redrawn after the core reports a change, at most 25 times a second.
#include <QTimer>
#include <QWidget>
#include <memory>

#include "app/device.h"
#include "monitor/trace_reducer.h"

namespace Ui {
class PesoPage;
}

namespace vantor {

class Qx3PanelBox;
class TracePlot;
class WindowSettings;

class PesoPage : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kMinDrawMs = 40;  // at most 25 redraws a second

  PesoPage(Device& device, WindowSettings& settings, QWidget* parent = nullptr);
  ~PesoPage() override;

  // The QX3 weighing module's panel below the trace's controls.
  void repaintAreas(uint32_t areas);

  // Reduces the visible ranges, hands both charts their points and ranges and
  // draws them, and shows the controls as the core holds them.
  void drawNow();
  int draws() const { return draws_; }
  bool drawPending() const { return drawTimer_.isActive(); }
  TracePlot* pesoChart() const { return pesoChart_; }
  TracePlot* outCh() const { return outCh_; }
  QWidget* charts() const;
  const ReducedTrace& reduced(TraceChart chart) const {
    return chart == TraceChart::Peso ? pesoReduced_ : outReduced_;
  }

 private:
  void traceChanged();
  void paintControls();
  void savePesoClicked(bool checked);
  void exportCsv();
  void exportPng();

  Device& device_;
  WeightTrace& trace_;
  WindowSettings& settings_;
  std::unique_ptr<Ui::PesoPage> ui_;
  TracePlot* pesoChart_ = nullptr;
  TracePlot* outCh_ = nullptr;
  Qx3PanelBox* panelQx3_ = nullptr;
  ReducedTrace pesoReduced_, outReduced_;
  QTimer drawTimer_;
  Signal<>::Id changeId_ = 0;
  int draws_ = 0;
};

}  // namespace vantor
