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
  connection.hooks.mainConnected.connect([this] {
    terminal.mainConnected();
    qx3Panel.abandon();  // the connect emptied the queue: no module answer is coming
  });
  parTables.accessLevel = [this] { return access.level(); };
  parTables.onAccessCodes = [this](const std::array<std::string, 3>& codes) {
    access.setDeviceCodes(codes[0], codes[1], codes[2]);
  };
  integrator.onLabelRequested = [this] { labelPrinter.labelRequested(); };
  integrator.onLabelAnswer = [this](bool accepted) { labelPrinter.labelAnswered(accepted); };
  userLogins.queueMessage = [this](int32_t code) { integrator.queueMessage(code); };
  integrator.bindMessage(
      UserLogins::kMessageCode, [this] { return userLogins.selectedAccountMessage(); },
      UserLogins::kMessageShown);
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
      {34, nullptr, &pesoCounters},       {1, &clockSerial, &clockSerial},
      {2, &clockSerial, &clockSerial},    {5, &clockSerial, nullptr},
      {6, nullptr, &clockSerial},         {3, nullptr, &terminal},
      {4, &terminal, &terminal},          {69, nullptr, &eventLog},
      {21, &eventLog, &eventLog},         {12, &memoryAccess, &memoryAccess},
      {10, &memoryAccess, nullptr},       {17, &memoryAccess, &memoryAccess},
      {18, &memoryAccess, &memoryAccess}, {33, nullptr, &memoryAccess},
      {53, &auxSocket, nullptr},          {20, &integrator, nullptr},
      {35, &integrator, &integrator},     {40, &labelPrinter, nullptr},
      {41, &labelPrinter, &labelPrinter}, {42, nullptr, &labelPrinter},
      {43, nullptr, &labelPrinter},       {44, &labelPrinter, nullptr},
      {31, &products, &products},         {50, &products, &products},
      {60, &products, &products},         {61, nullptr, &products},
      {14, nullptr, &weightTrace},        {19, &lineSimulator, nullptr},
      {30, &lineSimulator, nullptr},      {38, nullptr, &userLogins},
      {39, &userLogins, nullptr},
  };
  for (const Binding& b : bindings) {
    if (b.request) channel.bindRequest(b.code, b.request);
    if (b.reply) channel.bindReply(b.code, b.reply);
  }
}

void Device::mainDisconnected() {
  parTables.mainDisconnected();
  configBlocks.mainDisconnected();
  products.mainDisconnected();
  liveStatus.mainDisconnected();
  eventLog.mainDisconnected();
  tablesLoaded = false;
  productsLoaded = false;
  access.mainDisconnected();
  terminal.mainDisconnected();
  clockSerial.mainDisconnected();
  userLogins.mainDisconnected();
}

}  // namespace vantor
