// vantorctl: the tool's device operations for scripts.
#include <QCoreApplication>
#include <cstdio>

#include "app/data_dir.h"
#include "app/settings_file.h"
#include "cli/command_line.h"
#include "cli/ctl_session.h"
#include "platform/default_data_dir.h"
#include "platform/file_size_signal.h"

using namespace vantor;

namespace {

// The host given on the command line, else the one the window stored last.
std::optional<std::string> resolveHost(const CtlOptions& o) {
  if (o.host) return o.host;
  const std::string dir = o.dataDir ? withTrailingSlash(*o.dataDir) : defaultDataDir();
  const auto record = readSettingsFile(settingsPath(dir, kWindowCaption));
  if (!record || record->hostText().empty()) return std::nullopt;
  return record->hostText();
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  reportOversizeWritesAsErrors();
  CtlCommandLine line = parseCommandLine(argc, argv);
  if (!line.command) return line.exitCode;
  const auto host = resolveHost(line.options);
  if (!host) {
    std::fprintf(stderr,
                 "vantorctl: no device address: pass --host ADDR (no address is stored by the "
                 "window yet)\n");
    return kExitUsage;
  }
  CtlSession session(*host, line.options.timeoutSeconds, line.options.replyTimeoutMs);
  session.dataDir =
      line.options.dataDir ? withTrailingSlash(*line.options.dataDir) : defaultDataDir();
  std::optional<Subscription<const TrafficRecord&>> trace;
  if (line.options.trace)
    trace.emplace(session.device().traffic.onRecord, [](const TrafficRecord& r) {
      std::fprintf(stderr, "%s\n", TrafficLog::line(r).c_str());
    });
  return session.run(*line.command);
}
