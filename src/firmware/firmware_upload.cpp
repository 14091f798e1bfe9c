#include "firmware/firmware_upload.h"

#include "config/file_bytes.h"
#include "link/text_format.h"

namespace vantor {

class FirmwareUpload::Lan2Events final : public SocketListener {
 public:
  explicit Lan2Events(FirmwareUpload& f) : f_(f) {}
  void socketConnecting() override { f_.Lan2Connecting(); }
  void socketConnected() override { f_.Lan2Connect(); }
  void socketDisconnected() override { f_.Lan2Disconnect(); }
  void socketRead(ByteView bytes) override { f_.Lan2Read(bytes); }
  void socketError(const std::string&) override { f_.Lan2Error(); }

 private:
  FirmwareUpload& f_;
};

FirmwareUpload::FirmwareUpload(Seams& seams)
    : clock_(seams.clock()),
      lan2_(seams.makeSocket()),
      cmdTime_(seams.makeTimer()),
      timeOutConect_(seams.makeTimer()),
      events_(std::make_unique<Lan2Events>(*this)) {
  lan2_->setListener(events_.get());
  cmdTime_->setInterval(kCmdTimeMs);
  cmdTime_->setCallback([this] { CmdTimeTimer(); });
  timeOutConect_->setInterval(kTimeOutConectMs);
  timeOutConect_->setCallback([this] { TimeOutConectTimer(); });
}

FirmwareUpload::~FirmwareUpload() {
  cmdTime_->setEnabled(false);
  timeOutConect_->setEnabled(false);
  lan2_->setListener(nullptr);
}

void FirmwareUpload::send(std::string_view text, bool awaitsReply) {
  lan2_->write(asBytes(text));
  if (awaitsReply) awaiting_ = true;
}

void FirmwareUpload::FormShow() {
  lan2_->open(host, kBootLoaderPort);
  autoVersion_ = true;
  view_.progressPosition = 0;
  view_.wrFl = Colour::ButtonFace;
  view_.message.clear();
  changed();
}

// Nothing of the window goes on once it is closed: no reconnect, no poll.
void FirmwareUpload::FormClose() {
  cmdTime_->setEnabled(false);
  timeOutConect_->setEnabled(false);
  if (!lines_.empty()) endUpload("The window was closed during the upload.");
  lan2_->close();
  awaiting_ = false;
  changed();
}

void FirmwareUpload::Lan2Connecting() {
  view_.errorBar[0] = "C..ing";
  changed();
}

void FirmwareUpload::Lan2Connect() {
  view_.errorBar[0] = "Conect Boot";
  view_.errorBar[1].clear();
  view_.conectEnabled = false;
  awaiting_ = false;
  startPending_ = false;
  changed();
  if (autoVersion_) BtFWClick();
}

void FirmwareUpload::Lan2Disconnect() {
  view_.errorBar[0] = "Sconect Boot";
  view_.conectEnabled = true;
  changed();
}

// The device drops the link when it restarts into its boot loader or its
// application; the window reconnects 250 ms later for as long as it is open.
// An upload cannot go on over a new connection (the device's receive state is
// unknown), so it ends here and a new one starts from the first line.
void FirmwareUpload::Lan2Error() {
  view_.errorBar[1] = "Fail Boot";
  ++errorCount_;
  view_.errorBar[2] = format("%u", static_cast<unsigned>(errorCount_));
  awaiting_ = false;
  if (!lines_.empty())
    endUpload(
        format("The link was lost after line %zu of %zu; a new upload starts again "
               "from the first line.",
               next_, lines_.size()));
  else if (state_ == 'W' || state_ == 'S')
    endUpload("The link was lost while the device was writing.");
  lan2_->close();
  timeOutConect_->setEnabled(true);
  changed();
  onEvent(FirmwareEvent::LinkFailed);
}

void FirmwareUpload::TimeOutConectTimer() {
  timeOutConect_->setEnabled(false);
  lan2_->open(host, kBootLoaderPort);
}

void FirmwareUpload::CmdTimeTimer() {
  switch (state_) {
    case 'B':
      send("F");
      view_.edit2Colour = Edit2Colour::Yellow;
      changed();
      break;
    case 'S':
      cmdTime_->setEnabled(false);
      send("S");
      break;
    default:
      cmdTime_->setEnabled(false);
      break;
  }
}

void FirmwareUpload::BtFWClick() {
  send("F");
  state_ = 'F';
}

void FirmwareUpload::BtBootClick() {
  send("B");
  state_ = 'B';
  view_.edit2 = "Wait....";
  changed();
}

void FirmwareUpload::BtRSTClick() { send("R", false); }
void FirmwareUpload::BtGetStClick() { send("S"); }
void FirmwareUpload::BtWRClick() { send("W"); }

bool FirmwareUpload::BtStrtClick(const std::string& path) {
  if (!lines_.empty()) return false;  // an upload is under way; Abort ends it
  std::string error;
  const auto file = readFileBytes(path, FileLimit{kMaxFileBytes, "a firmware file"}, error);
  if (!file) {
    view_.message = error;
    changed();
    onEvent(FirmwareEvent::FileRefused);
    return false;
  }
  FirmwareFileCheck check = checkFirmwareFile(*file);
  if (!check.ok()) {
    view_.edit2 = "ERR";
    view_.message = format("Refused, nothing was sent: %s", check.problem.c_str());
    changed();
    onEvent(FirmwareEvent::FileRefused);
    return false;
  }
  lines_ = std::move(check.lines);
  next_ = 0;
  view_.progressMaximum = static_cast<int64_t>(file->size());
  view_.progressPosition = 0;
  view_.message.clear();
  view_.abortEnabled = true;
  view_.btStrtEnabled = false;
  view_.btBootEnabled = false;
  state_ = 'U';
  view_.wrFl = Colour::Red;
  uploadStartMs_ = clock_.monotonicMs();
  updateProgressLine();
  // After an Abort the reply to the line in flight may still be due: "U0"
  // waits for it, so that reply is not taken for the acknowledgement of "U0".
  startPending_ = awaiting_;
  if (!startPending_) send("U0");
  changed();
  onEvent(FirmwareEvent::UploadStarted);
  return true;
}

void FirmwareUpload::AbortClick() {
  if (lines_.empty()) return;
  // The reply to the line in flight still comes; in the idle state it changes nothing.
  endUpload(format("Upload aborted after line %zu of %zu; the device stays in boot mode.", next_,
                   lines_.size()));
  changed();
}

void FirmwareUpload::endUpload(const std::string& why) {
  startPending_ = false;
  lines_.clear();
  lines_.shrink_to_fit();
  next_ = 0;
  state_ = 0;
  cmdTime_->setEnabled(false);
  view_.wrFl = Colour::ButtonFace;
  view_.abortEnabled = false;
  view_.btStrtEnabled = true;
  view_.progressLine.clear();
  view_.message = why;
  onEvent(FirmwareEvent::UploadInterrupted);
}

void FirmwareUpload::sendNextLine() {
  if (next_ == lines_.size()) {
    lines_.clear();
    lines_.shrink_to_fit();
    next_ = 0;
    view_.progressPosition = view_.progressMaximum;
    view_.progressLine.clear();
    view_.abortEnabled = false;
    state_ = 'W';
    send("W");
    return;
  }
  const FirmwareLine& line = lines_[next_];
  view_.progressPosition += static_cast<int64_t>(line.fileBytes);
  ++next_;
  updateProgressLine();
  send(line.text);
}

void FirmwareUpload::updateProgressLine() {
  const size_t total = lines_.size();
  const int64_t percent =
      view_.progressMaximum > 0 ? view_.progressPosition * 100 / view_.progressMaximum : 0;
  if (next_ == 0) {
    view_.progressLine = format("line 0 of %zu, 0 %%, ETA -:--", total);
    return;
  }
  const int64_t elapsed = clock_.monotonicMs() - uploadStartMs_;
  const int64_t etaMs = elapsed * static_cast<int64_t>(total - next_) / static_cast<int64_t>(next_);
  const int64_t seconds = (etaMs + 999) / 1000;
  view_.progressLine = format("line %zu of %zu, %lld %%, ETA %lld:%02lld", next_, total,
                              static_cast<long long>(percent), static_cast<long long>(seconds / 60),
                              static_cast<long long>(seconds % 60));
}

// A bare acknowledgement is one character and a status reply two; a read that
// holds more than that holds more than one reply.
bool FirmwareUpload::replyTooLong(std::string_view reply) const {
  switch (state_) {
    case 'U':
    case 'W':
      return reply.size() > 1;
    case 'S':
      return reply.size() > 2;
    default:
      return false;
  }
}

void FirmwareUpload::Lan2Read(ByteView bytes) {
  if (bytes.empty()) return;
  const std::string reply(bytes.begin(), bytes.end());
  if (!awaiting_) {
    log_.append(format("Ignored %zu bytes: no request awaits a reply", reply.size()));
    changed();
    return;
  }
  if (replyTooLong(reply)) {
    log_.append(format("Ignored %zu bytes: more than one reply in one read", reply.size()));
    changed();
    return;
  }
  awaiting_ = false;
  if (startPending_) {
    startPending_ = false;
    send("U0");
    return;
  }
  if (reply[0] != '0') {
    view_.edit2 = "ERR";
    if (!lines_.empty()) view_.btStrtEnabled = true;  // the user may start again
    changed();
    onEvent(FirmwareEvent::ReplyFailed);
    return;
  }
  switch (state_) {
    case 'F': {
      view_.edit2Colour = Edit2Colour::Window;
      view_.edit2 = reply.substr(1);
      const bool bootLoader = view_.edit2.starts_with("QX7");
      view_.btBootEnabled = !bootLoader;
      view_.btStrtEnabled = bootLoader;
      state_ = 0;
      changed();
      onEvent(FirmwareEvent::VersionRead);
      break;
    }
    case 'B':
      cmdTime_->setEnabled(true);
      break;
    case 'U':
      sendNextLine();
      changed();
      break;
    case 'W':
      view_.wrFl = Colour::Green;
      cmdTime_->setEnabled(true);
      state_ = 'S';
      changed();
      break;
    case 'S': {
      statusChar_ = reply.size() > 1 ? reply[1] : 0;
      if (statusChar_ >= '0' && statusChar_ <= '4')
        view_.edit2 = kStatusWords[statusChar_ - '0'];
      else
        view_.edit2 = statusChar_ ? std::string("?") + statusChar_ : std::string("?");
      if (statusChar_ == '4') {
        state_ = 0;
        send("R", false);
        changed();
        onEvent(FirmwareEvent::StatusRead);
        onEvent(FirmwareEvent::ClosedOk);
        return;
      }
      cmdTime_->setEnabled(true);
      changed();
      onEvent(FirmwareEvent::StatusRead);
      break;
    }
    default:
      break;
  }
}

}  // namespace vantor
