#include "cli/status_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>

namespace vantor {

void StatusCommand::addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen) {
  app.add_subcommand("status", "Print the device version and its status fields.")
      ->callback([&chosen] { chosen = std::make_unique<StatusCommand>(); });
}

void StatusCommand::replied(CtlSession& session, int code, ByteView) {
  if (code == 70) haveVersion_ = true;
  if (code != 51 || !haveVersion_) return;
  const LiveStatus& live = session.device().liveStatus;
  const LiveStatusFields& f = live.fields();
  std::printf("Version: %s\n", live.version().c_str());
  std::printf("Status: %s\n", live.statusLine().c_str());
  std::printf("ComStat: %s\n", f.comStat.c_str());
  std::printf("Port2: %s\n", f.port2.c_str());
  std::printf("Peso: %s\n", f.peso.c_str());
  std::printf("TimPes: %s\n", f.timPes.c_str());
  std::printf("ErrorApp: %s\n", f.errorApp.c_str());
  std::printf("WebDeb: %s\n", f.webDeb.c_str());
  std::fflush(stdout);
  session.finish(kExitOk);
}

}  // namespace vantor
