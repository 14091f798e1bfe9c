#include "cli/status_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "cli/json_output.h"

namespace vantor {

void StatusCommand::addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen) {
  CLI::App* status =
      app.add_subcommand("status", "Print the device version and its status fields.");
  auto json = std::make_shared<bool>(false);
  status->add_flag("--json", *json, "print one JSON object with the same names instead");
  status->callback([&chosen, json] { chosen = std::make_unique<StatusCommand>(*json); });
}

void StatusCommand::replied(CtlSession& session, int code, ByteView) {
  if (code == 70) haveVersion_ = true;
  if (code != 51 || !haveVersion_) return;
  const LiveStatus& live = session.device().liveStatus;
  const LiveStatusFields& f = live.fields();
  const std::vector<std::pair<const char*, std::string>> lines = {
      {"Version", live.version()},
      {"Status", live.statusLine()},
      {"ComStat", f.comStat},
      {"Port2", f.port2},
      {"Peso", f.peso},
      {"TimPes", f.timPes},
      {"ErrorApp", f.errorApp},
      {"WebDeb", f.webDeb},
  };
  if (json_) {
    nlohmann::ordered_json document = nlohmann::ordered_json::object();
    for (const auto& [name, value] : lines) document[name] = value;
    printJson(document);
  } else {
    for (const auto& [name, value] : lines) std::printf("%s: %s\n", name, value.c_str());
    std::fflush(stdout);
  }
  session.finish(kExitOk);
}

}  // namespace vantor
