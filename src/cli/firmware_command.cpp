#include "cli/firmware_command.h"

#include <CLI/CLI.hpp>
#include <QElapsedTimer>
#include <QTimer>
#include <cmath>
#include <cstdio>

#include "config/file_bytes.h"
#include "firmware/firmware_upload.h"
#include "firmware/intel_hex.h"
#include "link/text_format.h"

namespace vantor {

// The firmware socket's events, the deadline, and at the end the main link
// that shows the application is back.
class FirmwareCommand::Run {
 public:
  Run(CtlSession& session, const std::string& path)
      : session_(session), path_(path), fw_(session.device().seams) {
    fw_.host = session.host();
    events_ = fw_.onEvent.connect([this](FirmwareEvent e) { event(e); });
    changes_ = fw_.onChange.connect([this] { changed(); });
    deadline_.setSingleShot(true);
    deadline_.setTimerType(Qt::PreciseTimer);
    deadline_.setInterval(static_cast<int>(std::ceil(session.timeoutSeconds() * 1000)));
    QObject::connect(&deadline_, &QTimer::timeout, [this] { deadlinePassed(); });
  }
  ~Run() {
    fw_.onEvent.disconnect(events_);
    fw_.onChange.disconnect(changes_);
    if (replies_) session_.device().channel.onReply.disconnect(replies_);
  }

  void start() {
    deadline_.start();
    fw_.FormShow();
  }

 private:
  enum class Phase { Version, Boot, Upload, Write, Application };
  static constexpr int kProgressMs = 100;

  void alive() { deadline_.start(); }

  void changed() {
    if (fw_.linesSent() != shownLines_) {
      shownLines_ = fw_.linesSent();
      alive();
      // Ten times a second is as often as anyone reads it.
      if (!shown_.isValid() || shown_.elapsed() >= kProgressMs || shownLines_ == fw_.lineCount()) {
        shown_.start();
        session_.progress(fw_.view().progressLine);
      }
    }
  }

  void event(FirmwareEvent e) {
    if (session_.done() || phase_ == Phase::Application) return;
    switch (e) {
      case FirmwareEvent::VersionRead:
        alive();
        versionRead();
        break;
      case FirmwareEvent::UploadStarted:
        alive();
        phase_ = Phase::Upload;
        break;
      case FirmwareEvent::UploadInterrupted:
        if (++restarts_ > kMaxUploadRestarts)
          session_.fail(kExitConnection,
                        format("the link was lost during the upload %d times", restarts_));
        else
          phase_ = Phase::Version;  // the reconnect asks the version and starts again
        break;
      case FirmwareEvent::ReplyFailed:
        session_.fail(kExitRefused, refusal());
        break;
      case FirmwareEvent::StatusRead:
        alive();
        phase_ = Phase::Write;
        session_.progress("writing: " + fw_.view().edit2);
        if (fw_.statusChar() == '3')
          session_.fail(kExitRefused, "the device could not write the firmware (status FAILED)");
        break;
      case FirmwareEvent::FileRefused:
        session_.fail(kExitFile, fw_.view().message);
        break;
      case FirmwareEvent::ClosedOk:
        // The reset request leaves with the socket's close, after this event.
        QTimer::singleShot(0, [this] { awaitApplication(); });
        break;
      case FirmwareEvent::LinkFailed:
        break;  // the firmware socket opens again by itself
    }
  }

  void versionRead() {
    const FirmwareView& v = fw_.view();
    if (v.btStrtEnabled) {                  // the boot loader answers
      if (!fw_.BtStrtClick(path_)) return;  // refused: FileRefused ended the run
      return;
    }
    if (++bootRequests_ > kMaxBootRequests) {
      session_.fail(
          kExitRefused,
          format("the device did not start its boot loader (version \"%s\")", v.edit2.c_str()));
      return;
    }
    phase_ = Phase::Boot;
    session_.progress("boot mode requested, waiting for the boot loader");
    fw_.BtBootClick();
  }

  std::string refusal() const {
    switch (phase_) {
      case Phase::Upload:
        return fw_.linesSent() == 0 ? std::string("the boot loader refused the start of the upload")
                                    : format("the boot loader refused line %zu of %zu",
                                             fw_.linesSent(), fw_.lineCount());
      case Phase::Write:
        return "the boot loader refused the write or status request";
      case Phase::Boot:
        return "the device refused boot mode";
      default:
        return "the device refused the version query";
    }
  }

  void awaitApplication() {
    if (session_.done()) return;
    phase_ = Phase::Application;
    fw_.FormClose();
    session_.progress("reset, waiting for the application");
    alive();
    Device& d = session_.device();
    replies_ = d.channel.onReply.connect([this](int code, ByteView) {
      if (code != 70 || session_.done()) return;
      std::printf("Firmware written; the device runs \"%s\"\n",
                  session_.device().liveStatus.version().c_str());
      std::fflush(stdout);
      session_.finish(kExitOk);
    });
    d.connection.controls.host = session_.host();
    d.connection.LanOnClick();  // the connection retries on its own until the device is back
  }

  void deadlinePassed() {
    const double s = session_.timeoutSeconds();
    switch (phase_) {
      case Phase::Application:
        session_.fail(kExitConnection,
                      format("the firmware is written, but the application did not answer on "
                             "%s:%u within %g s",
                             session_.host().c_str(), kMainPort, s));
        break;
      case Phase::Version:
        session_.fail(
            kExitConnection,
            format("no answer from %s:%u within %g s (last error: %s)", session_.host().c_str(),
                   kBootLoaderPort, s,
                   fw_.view().errorBar[1].empty() ? "none" : fw_.view().errorBar[1].c_str()));
        break;
      default: {
        const bool up = fw_.view().errorBar[0] == "Conect Boot";
        session_.fail(kExitConnection,
                      up ? format("no usable reply from the boot loader at %s:%u within %g s",
                                  session_.host().c_str(), kBootLoaderPort, s)
                         : format("the link to %s:%u was lost and did not come back within %g s",
                                  session_.host().c_str(), kBootLoaderPort, s));
        break;
      }
    }
  }

  CtlSession& session_;
  std::string path_;
  FirmwareUpload fw_;
  Signal<FirmwareEvent>::Id events_ = 0;
  Signal<>::Id changes_ = 0;
  Signal<int, ByteView>::Id replies_ = 0;
  QTimer deadline_;
  Phase phase_ = Phase::Version;
  int restarts_ = 0;
  int bootRequests_ = 0;
  size_t shownLines_ = 0;
  QElapsedTimer shown_;  // since the progress line was last shown
};

FirmwareCommand::FirmwareCommand(std::string path) : path_(std::move(path)) {}
FirmwareCommand::~FirmwareCommand() = default;

void FirmwareCommand::addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen) {
  auto path = std::make_shared<std::string>();
  CLI::App* sub = app.add_subcommand(
      "firmware",
      "Put new firmware (an Intel HEX file) on the device through its boot loader, and wait "
      "until its application answers again.");
  sub->add_option("FILE", *path, "the firmware file")->required()->type_name("FILE");
  sub->callback([&chosen, path] { chosen = std::make_unique<FirmwareCommand>(*path); });
}

// The file is checked whole before anything is connected.
void FirmwareCommand::prepare(CtlSession& session) {
  std::string error;
  const auto bytes =
      readFileBytes(path_, FileLimit{FirmwareUpload::kMaxFileBytes, "a firmware file"}, error);
  if (!bytes) {
    session.fail(kExitFile, error);
    return;
  }
  const FirmwareFileCheck check = checkFirmwareFile(*bytes);
  if (!check.ok())
    session.fail(kExitFile,
                 format("%s refused, nothing was sent: %s", path_.c_str(), check.problem.c_str()));
}

bool FirmwareCommand::start(CtlSession& session) {
  run_ = std::make_unique<Run>(session, path_);
  run_->start();
  return true;
}

}  // namespace vantor
