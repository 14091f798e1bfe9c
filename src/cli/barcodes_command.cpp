#include "cli/barcodes_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "link/frame.h"
#include "monitor/memory_access.h"

namespace vantor {

void BarcodesCommand::addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen) {
  CLI::App* barcodes = app.add_subcommand(
      "barcodes",
      "Print the device's 640-byte barcode buffer, one byte a line, as the window "
      "shows it.");
  barcodes->callback([&chosen] { chosen = std::make_unique<BarcodesCommand>(); });
}

void BarcodesCommand::connected(CtlSession& session) {
  session.device().memoryAccess.GetBarCodeClick();
}

void BarcodesCommand::replied(CtlSession& session, int code, ByteView frame) {
  if (code != 33) return;
  const ByteView payload = frame.subspan(9, frame.size() - frame::kOverhead - 1);
  for (const std::string& line : barcodeDumpLines(payload)) std::printf("%s\n", line.c_str());
  std::fflush(stdout);
  session.finish(kExitOk);
}

}  // namespace vantor
