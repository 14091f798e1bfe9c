#include "firmware/call_fw.h"

namespace vantor {

void CallFWClick(Connection& connection,
                 const std::function<bool(const std::string& host)>& showFirmware) {
  connection.LanOffClick();
  if (showFirmware(connection.controls.host)) connection.LanOnClick();
}

}  // namespace vantor
