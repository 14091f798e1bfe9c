#include "app/device.h"

namespace vantor {

Device::Device(Seams& platform)
    : seams(platform, shell),
      channel(shell, seams.clock()),
      connection(shell, channel, seams),
      liveStatus(shell, channel),
      access(shell) {
  bindCommands();
  connection.hooks.mainDisconnected.connect([this] { mainDisconnected(); });
  parTables.accessLevel = [this] { return access.level(); };
  parTables.onAccessCodes = [this](const std::array<std::string, 3>& codes) {
    access.setDeviceCodes(codes[0], codes[1], codes[2]);
  };
  access.afterUserChange = [this] {
    if (tablesLoaded) parTables.accessLevelChanged();
  };
}

// Which feature writes each request and handles each reply. A code missing here
// goes out as a bare frame, and its reply only advances the queue.
void Device::bindCommands() {
  struct Binding {
    int code;
    CommandFeature* request;
    CommandFeature* reply;
  };
  const Binding bindings[] = {
      {0, nullptr, &liveStatus},          {51, nullptr, &liveStatus},
      {70, nullptr, &liveStatus},         {62, nullptr, &parTables},
      {63, &parTables, &parTables},       {64, &parTables, &parTables},
      {11, &configBlocks, &configBlocks}, {15, &configBlocks, &configBlocks},
      {23, &configBlocks, &configBlocks}, {25, &configBlocks, &configBlocks},
      {37, &configBlocks, &configBlocks}, {46, &configBlocks, &configBlocks},
      {16, nullptr, &configBlocks},       {22, nullptr, &configBlocks},
      {24, nullptr, &configBlocks},       {36, nullptr, &configBlocks},
      {45, nullptr, &configBlocks},       {52, nullptr, &configBlocks},
      {34, nullptr, &pesoCounters},       {14, nullptr, &weightTrace},
  };
  for (const Binding& b : bindings) {
    if (b.request) channel.bindRequest(b.code, b.request);
    if (b.reply) channel.bindReply(b.code, b.reply);
  }
}

void Device::mainDisconnected() {
  parTables.mainDisconnected();
  configBlocks.mainDisconnected();
  liveStatus.mainDisconnected();
  tablesLoaded = false;
  productsLoaded = false;
  access.mainDisconnected();
}

}  // namespace vantor
