#pragma once
// What the main window's shared fields show: the two status bars, the link log
// memo and the indicator boxes. Every feature writes its texts here; the window
// repaints the areas it is told have changed.
#include <array>
#include <cstdint>
#include <string>

#include "link/bounded_log.h"
#include "link/signal.h"

namespace vantor {

enum class Area : uint32_t {
  StatusBar = 1u << 0,
  ErrorBar = 1u << 1,
  Memo1 = 1u << 2,
  Indicators = 1u << 3,
  Readouts = 1u << 4,
  LinkControls = 1u << 5,
  LiveStatus = 1u << 6,
  Access = 1u << 7,
  ParTables = 1u << 8,
  ConfigBlocks = 1u << 9,
  Terminal = 1u << 10,
  ClockSerial = 1u << 11,
  Qx3Panel = 1u << 12,
  Diagnosis = 1u << 13,  // event log, memory access, Lan3, traffic log
  Printer = 1u << 14,
  Integrator = 1u << 15,
  Products = 1u << 16,
  UserLogins = 1u << 17,
};

enum class Colour { ButtonFace, Red, Green };

// StatusBar panels: 0 version and file messages, 1 status line, 2 access level.
// ErrorBar panels: 0 main link state, 1 main link and frame errors, 2/3
// integrator link state/error, 4/5 auxiliary integrator port state/error,
// 6 the shared socket error count.
struct Shell {
  std::array<std::string, 3> statusBar{"Rev", "Status", ""};
  std::array<std::string, 7> errorBar;
  BoundedLog memo1;  // the newest lines of the link log
  Colour debFl = Colour::ButtonFace;
  Colour msFl = Colour::ButtonFace;
  Colour slFl = Colour::ButtonFace;

  Signal<Area> onChange;
  // The application's standard error message: the window shows it in a message
  // box, the command-line tool on its error stream. Raised from socket and timer
  // events, where nothing may be thrown.
  Signal<const std::string&> onAlert;

  void changed(Area area) const { onChange(area); }
  void alert(const std::string& text) const { onAlert(text); }
  void setStatus(size_t panel, std::string text) {
    statusBar.at(panel) = std::move(text);
    changed(Area::StatusBar);
  }
  void setError(size_t panel, std::string text) {
    errorBar.at(panel) = std::move(text);
    changed(Area::ErrorBar);
  }
  void log(std::string line) {
    memo1.append(std::move(line));
    changed(Area::Memo1);
  }
};

}  // namespace vantor
