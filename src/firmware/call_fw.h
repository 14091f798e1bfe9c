#pragma once
// The main window's CallFW button: the firmware window takes the device's
// port 47000 for itself, so the main link is closed while it is open.
#include <functional>
#include <string>

#include "link/connection.h"

namespace vantor {

// Closes the main link as LanOffClick does and runs `showFirmware` with the
// host of the Host edit; when the window closes with OK (`showFirmware`
// returns true) the main link connects again as LanOnClick does. Any other
// close leaves the main link disconnected.
void CallFWClick(Connection& connection,
                 const std::function<bool(const std::string& host)>& showFirmware);

}  // namespace vantor
