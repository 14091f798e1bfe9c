#include "app/device.h"

namespace vantor {

Device::Device(Seams& seams)
    : channel(shell, seams.clock()),
      connection(shell, channel, seams),
      liveStatus(shell, channel),
      access(shell) {
  channel.bind(Feature::LiveStatus, &liveStatus);
  channel.bind(Feature::ParTables, &parTables);
  channel.bind(Feature::ConfigBlocks, &configBlocks);
  channel.bind(Feature::PesoCounters, &pesoCounters);
  connection.hooks.mainDisconnected = [this] { mainDisconnected(); };
  parTables.accessLevel = [this] { return access.level(); };
  parTables.onAccessCodes = [this](const std::array<std::string, 3>& codes) {
    access.setDeviceCodes(codes[0], codes[1], codes[2]);
  };
  access.afterUserChange = [this] {
    if (tablesLoaded) parTables.accessLevelChanged();
  };
}

void Device::mainDisconnected() {
  parTables.mainDisconnected();
  tablesLoaded = false;
  productsLoaded = false;
  access.mainDisconnected();
}

}  // namespace vantor
