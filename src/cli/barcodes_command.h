#pragma once
#include <memory>

#include "cli/ctl_session.h"

namespace CLI {
class App;
}

namespace vantor {

// `barcodes`: prints the device's barcode buffer as the "Deb" page's Memo1
// shows it: per group of 64 bytes an empty line, then "0x%02X - %c" a byte.
class BarcodesCommand final : public CtlCommand {
 public:
  static void addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen);

  void connected(CtlSession& session) override;
  void replied(CtlSession& session, int code, ByteView frame) override;
};

}  // namespace vantor
