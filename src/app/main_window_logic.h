#pragma once
// The main window's own handlers without the widgets: what
// FormCreate and FormDestroy do with the settings file, and the error-bar
// click. The window owns one of these next to its Device.
#include <string>

#include "app/device.h"
#include "link/seams.h"

namespace vantor {

// The design value of the Host edit: a private address of the factory network.
// No test, script or demo ever connects to it.
inline constexpr const char* kDefaultDeviceHost = "192.168.10.200";

class MainWindowLogic {
 public:
  // dataDir ends in a slash (withTrailingSlash); caption names the files.
  MainWindowLogic(Device& device, const Clock& clock, std::string dataDir, std::string caption);

  // Restores the host (always, when the file can be read) and level 4 (only
  // from a record with level 4, a right check byte and the current hour
  // stamp), creates the data directory when there is no file, and applies
  // the level.
  void FormCreate();
  // Writes level, host and the current stamp. Returns false when the file
  // could not be written; the window stays silent about it.
  bool FormDestroy();
  // Clicking the error bar empties panels 1 and 3 (not 5, not the counter).
  void ErrorBarClick();

  // A host given on the window's command line replaces the one restored.
  void useHost(const std::string& host);

  const std::string& settingsPath() const { return settingsPath_; }
  const std::string& dataDir() const { return dataDir_; }

 private:
  Device& device_;
  const Clock& clock_;
  std::string dataDir_;
  std::string settingsPath_;
};

}  // namespace vantor
