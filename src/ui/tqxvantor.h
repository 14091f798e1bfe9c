#pragma once
// The main window QXVantor: the top row, the two status bars and
// the nine pages. It owns the Device (every feature of the core) and the
// window's own logic, binds the page classes to them, repaints what the core
// reports as changed (coalesced), applies the access table, and writes the
// settings file when it is destroyed. Its geometry and the folders of its
// file dialogs are kept between runs in its own small settings file.
#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/device.h"
#include "app/main_window_logic.h"

class QTabWidget;
namespace Ui {
class TQXVantor;
}

namespace vantor {

class AccessApplier;
class DebPage;
class PanelBar;
class ParTablesPage;
class PesoPage;
class ProductsPage;
class LoginPage;
class Qx7Page;
class RepaintScheduler;
class SnapshotMenu;
class SystemBinPage;
class PrinterPage;
class RegPage;
class TopRow;
class TFirm_cont;
class TSgnF;
class WindowSettings;

struct WindowStart {
  std::string dataDir;              // ends in a slash
  std::optional<std::string> host;  // from the command line, replaces the stored one
};

class TQXVantor : public QWidget {
  Q_OBJECT

 public:
  TQXVantor(Seams& seams, const WindowStart& start, QWidget* parent = nullptr);
  ~TQXVantor() override;  // FormDestroy

  Device& device() { return *device_; }
  MainWindowLogic& logic() { return *logic_; }
  TSgnF& passwordDialog() { return *sgnf_; }
  TFirm_cont& firmwareWindow() { return *firm_; }
  const AccessApplier& accessApplier() const { return *access_; }
  // Dialogs and windows created later register their root widget here.
  AccessApplier& accessApplier() { return *access_; }
  QTabWidget* pages() const;
  PanelBar* statusBar() const;
  PanelBar* errorBar() const;
  Qx7Page& qx7Page() { return *qx7_; }
  ProductsPage& productsPage() { return *products_; }
  LoginPage& loginPage() { return *login_; }
  PesoPage& pesoPage() { return *peso_; }
  WindowSettings& windowSettings() { return *settings_; }
  SnapshotMenu& snapshotMenu() { return *snapshotMenu_; }

  // Closes the main link for the firmware window; reconnects when it closes with OK.
  void CallFWClick();
  // Log in through the password dialog, or log out.
  void FormDblClick();
  // Repaints what the core reported as changed without waiting for the timer.
  void repaintNow();
  int repaintCount() const;

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void repaintAreas(uint32_t areas);
  void paintBars();
  void placeOnScreen();

  std::unique_ptr<Ui::TQXVantor> ui_;
  std::unique_ptr<WindowSettings> settings_;
  std::unique_ptr<Device> device_;
  // Follows the device's replies, so it goes before the device does.
  std::unique_ptr<MainWindowLogic> logic_;
  RepaintScheduler* repaint_ = nullptr;
  Signal<Area>::Id onChangeId_ = 0;
  Signal<const std::string&>::Id onAlertId_ = 0;
  TopRow* topRow_ = nullptr;
  DebPage* deb_ = nullptr;
  Qx7Page* qx7_ = nullptr;
  PesoPage* peso_ = nullptr;
  SystemBinPage* systemBin_ = nullptr;
  PrinterPage* printer_ = nullptr;
  RegPage* reg_ = nullptr;
  ParTablesPage* parTables_ = nullptr;
  ProductsPage* products_ = nullptr;
  LoginPage* login_ = nullptr;
  std::unique_ptr<AccessApplier> access_;
  TSgnF* sgnf_ = nullptr;
  TFirm_cont* firm_ = nullptr;
  SnapshotMenu* snapshotMenu_ = nullptr;
};

}  // namespace vantor
