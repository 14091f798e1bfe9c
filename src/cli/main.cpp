// vantorctl: the tool's device operations for scripts.
#include <QCoreApplication>
#include <cstdio>
#include <memory>

#include "app/data_dir.h"
#include "app/settings_file.h"
#include "cli/blocks_command.h"
#include "cli/ctl_options.h"
#include "cli/ctl_session.h"
#include "cli/params_command.h"
#include "cli/raw_command.h"
#include "cli/status_command.h"
#include "platform/default_data_dir.h"

using namespace vantor;

namespace {

int usageError(const std::string& message) {
  std::fprintf(stderr, "vantorctl: %s\n%s", message.c_str(), kCtlUsage);
  return kExitUsage;
}

// The host given on the command line, else the one the window stored last.
std::optional<std::string> resolveHost(const CtlOptions& o) {
  if (o.host) return o.host;
  const std::string dir = o.dataDir ? withTrailingSlash(*o.dataDir) : defaultDataDir();
  const auto record = readSettingsFile(settingsPath(dir, kWindowCaption));
  if (!record || record->hostText().empty()) return std::nullopt;
  return record->hostText();
}

std::unique_ptr<CtlCommand> makeCommand(const CtlOptions& o, std::string& error) {
  if (o.command == "status") {
    if (!o.args.empty()) error = "status takes no arguments";
    return error.empty() ? std::make_unique<StatusCommand>() : nullptr;
  }
  if (o.command == "raw") {
    auto raw = RawCommand::parse(o.args, error);
    return raw ? std::make_unique<RawCommand>(std::move(*raw)) : nullptr;
  }
  if (o.command == "params") {
    auto params = ParamsCommand::parse(o.args, error);
    return params ? std::make_unique<ParamsCommand>(std::move(*params)) : nullptr;
  }
  if (o.command == "blocks") {
    auto blocks = BlocksCommand::parse(o.args, error);
    return blocks ? std::make_unique<BlocksCommand>(std::move(*blocks)) : nullptr;
  }
  error = "unknown command " + o.command;
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  std::vector<std::string> words(argv + 1, argv + argc);
  if (!words.empty() && (words[0] == "--help" || words[0] == "-h")) {
    std::fputs(kCtlUsage, stdout);
    return kExitOk;
  }
  const CtlParse parsed = parseCtlOptions(words);
  if (!parsed.options) return usageError(parsed.error);
  const CtlOptions& o = *parsed.options;
  std::string error;
  std::unique_ptr<CtlCommand> command = makeCommand(o, error);
  if (!command) return usageError(error);
  const auto host = resolveHost(o);
  if (!host)
    return usageError(
        "no device address: pass --host ADDR (no address is stored by the window yet)");
  CtlSession session(*host, o.timeoutSeconds);
  return session.run(*command);
}
