#pragma once
// The "System" page: the device's parameter tables (ParTables) and their file
// group (ParTableFileGroup). Forwards the user's choices, clicks and the cell
// edits the grid commits to the core and repaints what the core reports on
// Area::ParTables.
#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>

#include "app/device.h"

namespace Ui {
class ParTablesPage;
}

namespace vantor {

class WindowSettings;

class ParTablesPage : public QWidget {
  Q_OBJECT

 public:
  ParTablesPage(Device& device, WindowSettings& settings, QWidget* parent = nullptr);
  ~ParTablesPage() override;

  void repaintAreas(uint32_t areas);

 private:
  void connectControls();
  void paintTables();
  void paintListTabs();
  void paintGrid();
  void paintMemo();
  void cellCommitted(int row, int column, const QString& text);
  void saveAllDefaults();
  void saveAllToDevice();
  void saveFile();
  void readFile();

  Device& device_;
  WindowSettings& settings_;  // where the file dialogs start
  std::unique_ptr<Ui::ParTablesPage> ui_;
  bool painting_ = false;
  size_t memoShown_ = 0;  // lines of Memo7 already in the widget
  QString loadedFile_;    // name of the table file accepted last
};

}  // namespace vantor
