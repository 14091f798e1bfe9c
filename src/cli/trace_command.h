#pragma once
#include <QTimer>
#include <memory>
#include <string>

#include "cli/ctl_session.h"

namespace CLI {
class App;
}

namespace vantor {

// `trace record FILE --seconds N`: reads the system block (52) after the
// status (51) the connect asks for, then records the weight trace for N
// seconds exactly as the window's SavePeso does (command 14 every 250 ms),
// trailer included, and prints the number of samples recorded on stdout.
// A file that cannot be created ends the run with kExitFile before anything is
// connected; a write error while recording ends it with kExitFile as well.
class TraceCommand final : public CtlCommand {
 public:
  static constexpr double kMaxSeconds = 24 * 3600;

  TraceCommand(std::string path, double seconds) : path_(std::move(path)), seconds_(seconds) {}

  // Adds `trace record FILE --seconds N`; when it is given, `chosen` becomes this command.
  static void addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen);

  void prepare(CtlSession& session) override;
  void connected(CtlSession& session) override;
  void replied(CtlSession& session, int code, ByteView frame) override;

 private:
  void startRecording(CtlSession& session);
  void stop(CtlSession& session);

  std::string path_;
  double seconds_;
  bool haveStatus_ = false;
  bool started_ = false;
  QTimer end_;
};

}  // namespace vantor
