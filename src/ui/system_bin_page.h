#pragma once
// The "SystemBin" page: the six configuration blocks (ConfigBlocks), each in
// its grid with its Get and Set buttons, the block file and "write all" of
// BkBox, the weighing-module counters (GetPesoOn, Edit5) and the weighing
// time TimPes of the status poll. Controls are bound by the names the core's
// block layout gives them. "SaveParFile" waits until the guard has seen every
// block read or loaded; until then the page says which blocks to read.
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>

#include "app/device.h"

namespace Ui {
class SystemBinPage;
}

namespace vantor {

class BlockBackupGuard;
class WindowSettings;
class ValueGrid;

class SystemBinPage : public QWidget {
  Q_OBJECT

 public:
  SystemBinPage(Device& device, BlockBackupGuard& guard, WindowSettings& settings,
                QWidget* parent = nullptr);
  ~SystemBinPage() override;

  void repaintAreas(uint32_t areas);

 private:
  void bindBlock(const BlockLayout& layout);
  void paintBlocks();
  void setAllBlocks();
  void getParFile();
  void saveParFile();

  Device& device_;
  BlockBackupGuard& guard_;
  WindowSettings& settings_;  // where the file dialogs start
  std::unique_ptr<Ui::SystemBinPage> ui_;
  bool backupRefused_ = false;  // the page says what to read until it is read
  std::array<ValueGrid*, kBlockCount> grids_{};
};

}  // namespace vantor
