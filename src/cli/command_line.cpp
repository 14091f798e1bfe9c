#include "cli/command_line.h"

#include <CLI/CLI.hpp>
#include <cmath>
#include <cstdlib>
#include <iostream>

#include "cli/barcodes_command.h"
#include "cli/blocks_command.h"
#include "cli/clock_command.h"
#include "cli/eeprom_command.h"
#include "cli/firmware_command.h"
#include "cli/inject_command.h"
#include "cli/integrator_command.h"
#include "cli/kill_command.h"
#include "cli/label_command.h"
#include "cli/log_command.h"
#include "cli/params_command.h"
#include "cli/products_command.h"
#include "cli/qx3_command.h"
#include "cli/ram_command.h"
#include "cli/raw_command.h"
#include "cli/reject_texts_command.h"
#include "cli/serial_command.h"
#include "cli/snapshot_command.h"
#include "cli/status_command.h"
#include "cli/terminal_command.h"
#include "cli/trace_command.h"
#include "cli/users_command.h"
#include "link/text_format.h"

namespace vantor {

namespace {

// The deadline goes to a timer in int milliseconds, which ends near 24.8 days;
// a day is more than any command needs and keeps well clear of that end.
const CLI::Validator kTimeout(
    [](std::string& word) -> std::string {
      char* end = nullptr;
      const double seconds = std::strtod(word.c_str(), &end);
      if (end == word.c_str() || *end != '\0' || !std::isfinite(seconds) || seconds <= 0 ||
          seconds > kMaxTimeoutSeconds)
        return format("'%s' is not a number of seconds above 0 and up to %g", word.c_str(),
                      kMaxTimeoutSeconds);
      return "";
    },
    "");

const CLI::Validator kReplyTimeout(
    [](std::string& word) -> std::string {
      char* end = nullptr;
      const long ms = std::strtol(word.c_str(), &end, 10);
      if (end == word.c_str() || *end != '\0' || ms < kMinReplyTimeoutMs || ms > kMaxReplyTimeoutMs)
        return format("'%s' is not a whole number of milliseconds from %d to %d", word.c_str(),
                      kMinReplyTimeoutMs, kMaxReplyTimeoutMs);
      return "";
    },
    "");

std::string footer() {
  std::string text = "Exit codes:";
  for (const CtlExitMeaning& m : kCtlExitMeanings) text += format("\n  %d  %s", m.code, m.text);
  return text;
}

std::string failureMessage(const CLI::App*, const CLI::Error& e) {
  return format("vantorctl: %s\nRun vantorctl --help or vantorctl COMMAND --help for the usage.\n",
                e.what());
}

}  // namespace

CtlCommandLine parseCommandLine(int argc, const char* const* argv) {
  CLI::App app("The RW4000 service tool's device operations, for scripts.", "vantorctl");
  app.set_version_flag("--version", "vantorctl " VANTOR_VERSION);
  app.failure_message(failureMessage);
  app.footer(footer());
  // Global options may also follow the command.
  app.fallthrough();

  CtlCommandLine line;
  CtlOptions& o = line.options;
  std::string host, dataDir;
  CLI::Option* hostOption =
      app.add_option("--host", host,
                     "the device's address; without it, the address the window stored last")
          ->type_name("ADDR");
  app.add_option("--timeout", o.timeoutSeconds,
                 format("seconds the connect may take, and the longest silence between two "
                        "replies, above 0 and up to %g",
                        kMaxTimeoutSeconds))
      ->type_name("SECONDS")
      ->check(kTimeout)
      ->capture_default_str();
  app.add_option("--reply-timeout", o.replyTimeoutMs,
                 format("milliseconds to wait for each reply before the request is sent once "
                        "more; a second silence ends the command; %d to %d",
                        kMinReplyTimeoutMs, kMaxReplyTimeoutMs))
      ->type_name("MS")
      ->check(kReplyTimeout)
      ->capture_default_str();
  CLI::Option* dataDirOption =
      app.add_option("--data-dir", dataDir, "the folder of the window's settings file")
          ->type_name("DIR");

  app.add_flag("--trace", o.trace,
               "print every frame written to or received from the main port on stderr, one a "
               "line with the time, direction, command code and hex (user-account payloads are "
               "not shown)");

  app.require_subcommand(1);
  StatusCommand::addTo(app, line.command);
  RawCommand::addTo(app, line.command);
  ParamsCommand::addTo(app, line.command);
  BlocksCommand::addTo(app, line.command);
  SnapshotCommand::addTo(app, line.command);
  TerminalCommand::addTo(app, line.command);
  ClockCommand::addTo(app, line.command);
  SerialCommand::addTo(app, line.command);
  Qx3Command::addTo(app, line.command);
  LogCommand::addTo(app, line.command);
  RamCommand::addTo(app, line.command);
  EepromCommand::addTo(app, line.command);
  BarcodesCommand::addTo(app, line.command);
  KillCommand::addTo(app, line.command);
  LabelCommand::addTo(app, line.command);
  RejectTextsCommand::addTo(app, line.command);
  IntegratorCommand::addTo(app, line.command);
  ProductsCommand::addTo(app, line.command);
  FirmwareCommand::addTo(app, line.command);
  TraceCommand::addTo(app, line.command);
  InjectCommand::addTo(app, line.command);
  UsersCommand::addTo(app, line.command);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    line.command.reset();
    const int code = app.exit(e, std::cout, std::cerr);
    line.exitCode = code == static_cast<int>(CLI::ExitCodes::Success) ? kExitOk : kExitUsage;
    return line;
  }
  if (hostOption->count() > 0) o.host = host;
  if (dataDirOption->count() > 0) o.dataDir = dataDir;
  return line;
}

}  // namespace vantor
