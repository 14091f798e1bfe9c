#pragma once
#include <array>
#include <memory>
#include <string>

#include "cli/ctl_session.h"
#include "peripherals/reject_text_file.h"

namespace CLI {
class App;
}

namespace vantor {

// `reject-texts show`: prints the seven reject-label texts, one line each:
// the value, a tab, the text.
// `reject-texts set FILE`: a text file of exactly seven lines (at most 99
// characters each; CR LF or LF line ends) is read before connecting (else
// kExitFile, nothing sent). The block is read first, so its hidden parts go
// back as the device holds them, then written with the seven texts.
class RejectTextsCommand final : public CtlCommand {
 public:
  RejectTextsCommand(bool set, std::string path) : set_(set), path_(std::move(path)) {}

  static void addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen);

  void prepare(CtlSession& session) override;
  void connected(CtlSession& session) override;
  void replied(CtlSession& session, int code, ByteView frame) override;

 private:
  bool set_ = false;
  std::string path_;
  RejectTexts texts_;
};

}  // namespace vantor
