#include "app/device.h"

namespace vantor {

Device::Device(Seams& seams)
    : channel(shell, seams.clock()), connection(shell, channel, seams), liveStatus(shell, channel), access(shell) {
  channel.bind(Feature::LiveStatus, &liveStatus);
  connection.hooks.mainDisconnected = [this] { mainDisconnected(); };
}

void Device::mainDisconnected() {
  tablesLoaded = false;
  productsLoaded = false;
  access.mainDisconnected();
}

}  // namespace vantor
