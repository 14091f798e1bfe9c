#include "app/main_window_logic.h"

#include <filesystem>
#include <system_error>

#include "app/settings_file.h"

namespace vantor {

MainWindowLogic::MainWindowLogic(Device& device, const Clock& clock, std::string dataDir,
                                 std::string caption)
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
  const auto record = SettingsRecord::make(device_.access.level(), device_.connection.controls.host,
                                           clock_.localTime());
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

}  // namespace vantor
