#include "cli/kill_command.h"

#include <CLI/CLI.hpp>
#include <QTimer>
#include <map>

#include "link/text_format.h"

namespace vantor {

void KillCommand::addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen) {
  CLI::App* kill = app.add_subcommand(
      "kill",
      "Ask the device, on its auxiliary command port 46990, to close every connection of one "
      "port: van (main port 47000), mob (46000) or int (49000).");
  auto which = std::make_shared<int>(0);
  const std::map<std::string, int> ports{{"van", 0}, {"mob", 1}, {"int", 2}};
  kill->add_option("PORT", *which, "van, mob or int")
      ->required()
      ->transform(CLI::CheckedTransformer(ports, CLI::ignore_case));
  kill->callback([&chosen, which] { chosen = std::make_unique<KillCommand>(*which); });
}

// Connect and send the three bytes in one write. The socket layer sends them
// on a later turn of the event loop, and closing the socket before would drop
// them, so the run ends a moment after the write.
bool KillCommand::start(CtlSession& session) {
  session.watchConnect(kAuxCommandPort);
  AuxSocket& aux = session.device().auxSocket;
  aux.controls.selPort = selPort_;
  connected_ = std::make_unique<Subscription<>>(aux.onConnected, [&session, &aux] {
    aux.Lan3SendClick();
    QTimer::singleShot(kSendMs, [&session] { session.finish(kExitOk); });
  });
  // The session has printed the message already.
  failed_ = std::make_unique<Subscription<const std::string&>>(
      aux.onFailed, [&session](const std::string&) { session.finish(kExitConnection); });
  aux.Lan3OnClick();
  return true;
}

}  // namespace vantor
