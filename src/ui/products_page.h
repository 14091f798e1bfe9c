#pragma once
// The "Produto" page: the product store (Products) and its file group
// (ProdFileGroup). Forwards the user's choices, clicks and the cell edits the
// grid commits to the core and repaints what the core reports on
// Area::Products. The layout `simBoxSlot` in PanelProd, below the file group,
// is the place of the line simulator's box.
#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>

#include "app/device.h"

class QVBoxLayout;

namespace Ui {
class ProductsPage;
}

namespace vantor {

class SimBox;
class WindowSettings;

class ProductsPage : public QWidget {
  Q_OBJECT

 public:
  ProductsPage(Device& device, WindowSettings& settings, QWidget* parent = nullptr);
  ~ProductsPage() override;

  void repaintAreas(uint32_t areas);
  // Where the line simulator's box is placed.
  QVBoxLayout* simBoxSlot() const;

 private:
  void connectControls();
  void paintProducts();
  void paintList();
  void paintGrid();
  void paintMemo();
  void cellCommitted(int row, int column, const QString& text);
  void saveAllToDevice();
  void saveFile();
  void readFile();

  Device& device_;
  WindowSettings& settings_;  // where the file dialogs start
  std::unique_ptr<Ui::ProductsPage> ui_;
  SimBox* simBox_ = nullptr;  // in simBoxSlot
  bool painting_ = false;
  size_t memoShown_ = 0;  // lines of Memo9 already in the widget
};

}  // namespace vantor
