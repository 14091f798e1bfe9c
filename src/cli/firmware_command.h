#pragma once
#include <memory>
#include <string>

#include "cli/ctl_session.h"

namespace CLI {
class App;
}

namespace vantor {

class FirmwareUpload;

// `firmware FILE`: the whole firmware change without the window. Checks the
// file, asks the version, requests boot mode when the device runs its
// application and waits for the boot loader, uploads the file line by line,
// writes, polls the status until "WRITED", resets, and waits until the
// application answers on the main port again.
class FirmwareCommand final : public CtlCommand {
 public:
  // How often an upload cut short by a lost link is started again.
  static constexpr int kMaxUploadRestarts = 3;
  // How often boot mode is asked for before the device counts as refusing it.
  static constexpr int kMaxBootRequests = 3;

  explicit FirmwareCommand(std::string path);
  ~FirmwareCommand() override;
  static void addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen);

  void prepare(CtlSession& session) override;
  bool start(CtlSession& session) override;
  void replied(CtlSession&, int, ByteView) override {}

 private:
  class Run;
  std::string path_;
  std::unique_ptr<Run> run_;
};

}  // namespace vantor
