#include "cli/reject_texts_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "link/text_format.h"

namespace vantor {

void RejectTextsCommand::addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen) {
  CLI::App* reject =
      app.add_subcommand("reject-texts", "The seven texts the device prints on reject labels.");
  reject->require_subcommand(1);
  reject->add_subcommand("show", "Print the seven reject texts: value, tab, text.")
      ->callback([&chosen] { chosen = std::make_unique<RejectTextsCommand>(false, ""); });
  CLI::App* set = reject->add_subcommand(
      "set", "Write the seven reject texts from a file of seven lines (at most 99 characters).");
  auto path = std::make_shared<std::string>();
  set->add_option("FILE", *path, "seven lines of text")->required();
  set->callback([&chosen, path] { chosen = std::make_unique<RejectTextsCommand>(true, *path); });
}

void RejectTextsCommand::prepare(CtlSession& session) {
  std::string error;
  if (set_ && !readRejectTexts(path_, texts_, error)) session.fail(kExitFile, error);
}

void RejectTextsCommand::connected(CtlSession& session) {
  session.device().labelPrinter.GetErLbClick();
}

void RejectTextsCommand::replied(CtlSession& session, int code, ByteView) {
  LabelPrinter& printer = session.device().labelPrinter;
  if (code == 43) {
    if (set_) {
      for (size_t i = 0; i < kRejectSlots; ++i) printer.controls.erLbTexts[i + 1] = texts_[i];
      printer.SetErLbClick();
      return;
    }
    for (size_t i = 1; i <= kRejectSlots; ++i)
      std::printf("%s\t%s\n", printer.controls.erLbValues[i].c_str(),
                  printer.controls.erLbTexts[i].c_str());
    session.finish(kExitOk);
  } else if (code == 44 && set_) {
    session.finish(kExitOk);
  }
}

}  // namespace vantor
