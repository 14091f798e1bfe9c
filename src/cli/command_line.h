#pragma once
// The command line of vantorctl: global options, one subcommand per command,
// each with its own --help, and --version.
#include <memory>
#include <optional>
#include <string>

#include "cli/ctl_session.h"

namespace vantor {

// Longest deadline --timeout takes, in seconds: a day.
inline constexpr double kMaxTimeoutSeconds = 86400;
// The bounds of --reply-timeout, in milliseconds: below 10 ms a loaded machine
// misses replies that are on their way; above a minute a silent device holds
// a script for minutes per request.
inline constexpr int kMinReplyTimeoutMs = 10;
inline constexpr int kMaxReplyTimeoutMs = 60000;

struct CtlOptions {
  std::optional<std::string> host;
  std::optional<std::string> dataDir;
  double timeoutSeconds = 5.0;
  int replyTimeoutMs = CommandChannel::kDefaultReplyTimeoutMs;
  bool trace = false;  // every frame of the main port on stderr
};

// What the command line asks for: a command to run with the options, or,
// with no command, the exit code after the help, the version or a usage
// error was printed (the help and the version on stdout, the error on stderr).
struct CtlCommandLine {
  CtlOptions options;
  std::unique_ptr<CtlCommand> command;
  int exitCode = kExitOk;
};

CtlCommandLine parseCommandLine(int argc, const char* const* argv);

}  // namespace vantor
