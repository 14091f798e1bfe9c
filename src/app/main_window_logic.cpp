#include "app/main_window_logic.h"

#include <filesystem>
#include <system_error>

#include "app/settings_file.h"

namespace vantor {

MainWindowLogic::MainWindowLogic(Device& device, const Clock& clock, std::string dataDir, std::string caption)
    : device_(device),
      clock_(clock),
      dataDir_(std::move(dataDir)),
      settingsPath_(vantor::settingsPath(dataDir_, caption)) {
  device_.connection.controls.host = kDefaultDeviceHost;
}

void MainWindowLogic::FormCreate() {
  const LocalTime now = clock_.localTime();
  uint8_t level = 0;
  if (const auto record = readSettingsFile(settingsPath_)) {
    device_.connection.controls.host = record->hostText();
    level = record->restoredLevel(now);
  } else {
    std::error_code ignored;
    std::filesystem::create_directories(dataDir_, ignored);
  }
  device_.shell.changed(Area::LinkControls);
  device_.access.setLevel(level);
  device_.access.apply();
}

bool MainWindowLogic::FormDestroy() {
  const auto record =
      SettingsRecord::make(device_.access.level(), device_.connection.controls.host, clock_.localTime());
  return writeSettingsFile(settingsPath_, record);
}

void MainWindowLogic::ErrorBarClick() {
  device_.shell.setError(1, "");
  device_.shell.setError(3, "");
}

void MainWindowLogic::useHost(const std::string& host) {
  device_.connection.controls.host = host;
  device_.shell.changed(Area::LinkControls);
}

const char* const kWindowUsage =
    "Usage: vantor [--host ADDR] [--data-dir DIR]\n"
    "\n"
    "The RW4000 service and commissioning window.\n"
    "\n"
    "Options:\n"
    "  --host ADDR      device address for the Host field (replaces the stored one)\n"
    "  --data-dir DIR   folder of the settings file and the tool's files\n"
    "                   (default: the user's application data folder)\n"
    "  -h, --help       show this text\n";

WindowOptionsParse parseWindowOptions(const std::vector<std::string>& words) {
  WindowOptionsParse result;
  WindowOptions o;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& w = words[i];
    auto value = [&](const std::string& name, std::optional<std::string>& into) {
      if (w.rfind(name + "=", 0) == 0) {
        into = w.substr(name.size() + 1);
      } else if (i + 1 < words.size()) {
        into = words[++i];
      } else {
        result.error = name + " needs a value";
        return false;
      }
      if (into->empty()) {
        result.error = name + " needs a value";
        return false;
      }
      return true;
    };
    if (w == "-h" || w == "--help") {
      o.help = true;
    } else if (w == "--host" || w.rfind("--host=", 0) == 0) {
      if (!value("--host", o.host)) return result;
    } else if (w == "--data-dir" || w.rfind("--data-dir=", 0) == 0) {
      if (!value("--data-dir", o.dataDir)) return result;
    } else {
      result.error = "unknown argument '" + w + "'";
      return result;
    }
  }
  result.options = o;
  return result;
}

}  // namespace vantor
