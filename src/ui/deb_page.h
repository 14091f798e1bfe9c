#pragma once
// The "Deb" page: the protocol read-outs of the last request and reply
//, the live status fields, the connection log Memo1
// and the request/reply indicators MsFl and SlFl.
#include <QWidget>
#include <cstdint>
#include <memory>

#include "app/device.h"
#include "ui/memo_view.h"

namespace Ui {
class DebPage;
}

namespace vantor {

class DiagnosisPanel;
class TrafficView;
class WindowSettings;

class DebPage : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kMemoLines = 5000;  // the widget keeps the newest lines only

  // settings: where the traffic log's save dialog starts.
  DebPage(Device& device, WindowSettings* settings = nullptr, QWidget* parent = nullptr);
  ~DebPage() override;

  void repaintAreas(uint32_t areas);

 private:
  void paintMemo();
  void paintReadouts();
  void paintIndicators();
  void paintLiveStatus();

  Device& device_;
  std::unique_ptr<Ui::DebPage> ui_;
  DiagnosisPanel* diagnosis_ = nullptr;
  TrafficView* traffic_ = nullptr;
  std::unique_ptr<MemoView> memo1_;
};

}  // namespace vantor
