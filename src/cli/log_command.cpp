#include "cli/log_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "link/text_format.h"

namespace vantor {

void LogCommand::addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen) {
  CLI::App* log = app.add_subcommand(
      "log",
      "Download the device's event log and write it as a decoded text file; prints the file's "
      "path and the event count.");
  auto path = std::make_shared<std::string>();
  log->add_option("FILE", *path,
                  "the log file; by default the window's log file in the data directory");
  log->callback([&chosen, path] {
    chosen = std::make_unique<LogCommand>(path->empty() ? std::nullopt
                                                        : std::optional<std::string>(*path));
  });
}

void LogCommand::connected(CtlSession& session) {
  EventLog& log = session.device().eventLog;
  log.setDataDir(session.dataDir);
  if (path_) log.setFilePath(*path_);
  done_ = std::make_unique<Subscription<bool>>(log.onFinished, [&session, &log](bool written) {
    if (!written) {
      session.fail(kExitFile, log.controls.progressText);
      return;
    }
    std::printf("%s\n%d events\n", log.filePath().c_str(), log.lastCount().used);
    std::fflush(stdout);
    session.finish(kExitOk);
  });
  log.GetLogClick();
}

void LogCommand::changed(CtlSession& session, Area area) {
  const EventLog& log = session.device().eventLog;
  if (area == Area::Diagnosis && log.controls.downloading)
    session.progress(format("block %u of %u", log.blocksReceived() + 1, kLogBlocks));
}

void LogCommand::replied(CtlSession&, int, ByteView) {}

}  // namespace vantor
