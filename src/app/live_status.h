#pragma once
// The link's own replies: the device version (70), the status poll (51) and
// the unusable exchange (0), decoded into the fields the window shows.
#include <cstdint>
#include <string>

#include "link/command_channel.h"
#include "link/command_feature.h"
#include "link/shell.h"

namespace vantor {

struct LiveStatusFields {
  std::string comStat;  // "%d %d %d %d"
  std::string port2;    // "%X %X %X %X"
  std::string peso;     // six signed weights
  std::string timPes;   // last weighing time
  std::string errorApp;
  std::string webDeb;  // "%x %x %x %x"
  int lnMenu = 0;      // display terminal menu line, 0 .. 13
  int brMenu = 0;      // display terminal bottom-bar field, 0 .. 5
  uint16_t lastWeighingTime = 0;
  // Read from the device connected now; false from the end of the main link
  // until the next status reply (the window greys what is not current).
  bool current = false;
};

class LiveStatus final : public CommandFeature {
 public:
  static constexpr int kLnMenuItems = 14;
  static constexpr int kBrMenuItems = 6;
  static constexpr size_t kStatusBytes = 56;
  static constexpr const char* kModelPrefix = " RW40";

  LiveStatus(Shell& shell, CommandChannel& channel) : shell_(shell), channel_(channel) {}

  void handleReply(int code, PayloadReader& payload) override;

  const LiveStatusFields& fields() const { return fields_; }
  // The device's version text as the last version reply gave it; StatusBar
  // panel 0 shows it until a file message takes the panel over.
  const std::string& version() const { return version_; }
  const std::string& statusLine() const { return shell_.statusBar[1]; }
  void mainDisconnected();

 private:
  void versionReply(PayloadReader& payload);
  void statusReply(PayloadReader& payload);

  Shell& shell_;
  CommandChannel& channel_;
  LiveStatusFields fields_;
  std::string version_;
};

}  // namespace vantor
