#pragma once
// The main window's top row bound to the connection: Host,
// Connect, Disconnect, the DebFl indicator, the poll mode SelAuto, Reset,
// SpeedClk with Label3, and the side-socket choices RecOpen and MobOpen.
#include <QObject>
#include <cstdint>

#include "app/device.h"

class QWidget;
namespace Ui {
class TQXVantor;
}

namespace vantor {

class TopRow : public QObject {
  Q_OBJECT

 public:
  TopRow(Ui::TQXVantor& ui, Device& device, QWidget* owner);

  void repaintAreas(uint32_t areas);

 private:
  void paintLinkControls();

  Ui::TQXVantor& ui_;
  Device& device_;
  QWidget* owner_;
};

}  // namespace vantor
