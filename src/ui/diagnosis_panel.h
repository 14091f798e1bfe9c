#pragma once
// The "Deb" page's diagnosis tools: the event-log download, the "RAM Control"
// and "EEPROM Control" groups, the barcode buffer dump, Panel2 with the
// auxiliary command socket, and the one-byte debug command. The controls keep
// the window layout's names; every click and edit goes to the core's
// EventLog, MemoryAccess and AuxSocket, and the panel repaints what they hold.
#include <QWidget>
#include <functional>

#include "app/device.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace vantor {

class DiagnosisPanel : public QWidget {
  Q_OBJECT

 public:
  explicit DiagnosisPanel(Device& device, QWidget* parent = nullptr);

  void repaint();

 private:
  QWidget* makeLogRow();
  QWidget* makeRamGroup();
  QWidget* makeEepromGroup();
  QWidget* makePanel2();
  QWidget* makeCommandRow();
  void guarded(const std::function<void()>& handler);

  Device& device_;
  MemoryAccessControls& mem_;
  AuxSocketControls& aux_;
  QPushButton* getLog_ = nullptr;
  QProgressBar* progressBarLog_ = nullptr;
  QLabel* logProgress_ = nullptr;
  QSpinBox* addRAM_ = nullptr;
  QCheckBox* hiAdd_ = nullptr;
  QLineEdit* addrRAM_ = nullptr;
  QLineEdit* dataRAM_ = nullptr;
  QLineEdit* dataX_ = nullptr;
  QLabel* memMessage_ = nullptr;
  QSpinBox* addEEP_ = nullptr;
  QLineEdit* addEEPx_ = nullptr;
  QSpinBox* numBPg_ = nullptr;
  QLineEdit* dataEEP_ = nullptr;
  QLineEdit* stEEP_ = nullptr;
  QTableWidget* memEEpPag_ = nullptr;
  QButtonGroup* selPort_ = nullptr;
  QPushButton* lan3On_ = nullptr;
  QPushButton* lan3Off_ = nullptr;
  QPushButton* lan3Send_ = nullptr;
  QLineEdit* lan3Txt_ = nullptr;
  QSpinBox* cSpinEdit1_ = nullptr;
  bool painting_ = false;  // cell changes while painting are not edits
};

}  // namespace vantor
