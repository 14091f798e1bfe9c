#pragma once
#include <memory>
#include <string>

#include "cli/ctl_session.h"

namespace CLI {
class App;
}

namespace vantor {

// `label upload FILE [--pos N] [--id M]`: loads the label file before
// connecting (a refused or unreadable file: kExitFile, nothing sent), uploads
// it over the main port and waits for the closing reply: "Sent" ends with
// kExitOk, "Error" (the device refused the label) with kExitRefused. The
// chunk being sent is shown as progress.
// `label validity`: prints the label validity table, nine lines of four values.
class LabelCommand final : public CtlCommand {
 public:
  enum class Action { Upload, Validity };
  LabelCommand(Action action, std::string path, int position, int identifier)
      : action_(action), path_(std::move(path)), position_(position), identifier_(identifier) {}

  static void addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen);

  void prepare(CtlSession& session) override;
  void connected(CtlSession& session) override;
  void replied(CtlSession& session, int code, ByteView frame) override;
  void changed(CtlSession& session, Area area) override;

 private:
  Action action_;
  std::string path_;
  int position_ = 0;
  int identifier_ = 1;
};

}  // namespace vantor
