#include "cli/label_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "link/text_format.h"

namespace vantor {

void LabelCommand::addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen) {
  CLI::App* label = app.add_subcommand("label", "Label templates in the device's label memory.");
  label->require_subcommand(1);

  CLI::App* upload = label->add_subcommand(
      "upload",
      "Upload a label file (under 65536 bytes) to a label memory position over the main port "
      "and wait for the device's verdict: Sent (exit 0) or Error (exit 5).");
  auto path = std::make_shared<std::string>();
  auto pos = std::make_shared<int>(0);
  auto id = std::make_shared<int>(1);
  upload->add_option("FILE", *path, "the label template file")->required();
  upload->add_option("--pos", *pos, "label memory position (POS MEM)")
      ->check(CLI::Range(0, LabelPrinter::kLabelPositions - 1))
      ->capture_default_str();
  upload->add_option("--id", *id, "label identifier (ID Etiqueta)")
      ->check(CLI::Range(1, 100))
      ->capture_default_str();
  upload->callback([&chosen, path, pos, id] {
    chosen = std::make_unique<LabelCommand>(Action::Upload, *path, *pos, *id);
  });

  CLI::App* validity = label->add_subcommand(
      "validity", "Print the label validity table: nine lines (positions) of four values.");
  validity->callback(
      [&chosen] { chosen = std::make_unique<LabelCommand>(Action::Validity, "", 0, 1); });
}

void LabelCommand::prepare(CtlSession& session) {
  if (action_ != Action::Upload) return;
  LabelPrinter& printer = session.device().labelPrinter;
  if (!printer.SetPrintClick(path_)) {
    session.fail(kExitFile, printer.controls.memo5.back());
    return;
  }
  printer.controls.labelId = position_;
  printer.controls.labelIdProd = identifier_;
}

void LabelCommand::connected(CtlSession& session) {
  LabelPrinter& printer = session.device().labelPrinter;
  if (action_ == Action::Upload)
    printer.SendPrtClick();
  else
    printer.GetPrValidClick();
}

void LabelCommand::changed(CtlSession& session, Area area) {
  if (action_ == Action::Upload && area == Area::Printer)
    session.progress(session.device().labelPrinter.controls.progress);
}

void LabelCommand::replied(CtlSession& session, int code, ByteView) {
  const LabelPrinterControls& c = session.device().labelPrinter.controls;
  if (action_ == Action::Upload && code == 41) {
    if (c.msgPrt == PrtState::Sent) {
      std::printf("Sent\n");
      session.finish(kExitOk);
    } else {
      std::printf("Error\n");
      session.fail(kExitRefused,
                   "the device did not take the label (Error): its checksum did "
                   "not match what arrived, or the position was refused");
    }
  } else if (action_ == Action::Validity && code == 42) {
    for (size_t r = 0; r < kValidityRows; ++r) {
      for (size_t col = 0; col < kValidityColumns; ++col)
        std::printf("%s%u", col ? "\t" : "", c.validity[kValidityColumns * r + col]);
      std::printf("\n");
    }
    session.finish(kExitOk);
  }
}

}  // namespace vantor
