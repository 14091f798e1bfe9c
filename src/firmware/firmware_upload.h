#pragma once
// The firmware window without its widgets: the boot loader's text protocol on
// the device's port 47000, with a socket and two timers of its own.
//
// Requests are single letters (or a file line) without terminator; each reply
// is a short text whose first character "0" means success. The device answers
// every request with exactly one reply and its replies carry no terminator, so
// the bytes of one read event are one reply. The upload sends one file line per
// acknowledgement, then asks the device to write and polls its status every
// 250 ms until it reports "WRITED"; then it resets the device and the window
// closes with OK.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "firmware/intel_hex.h"
#include "link/bounded_log.h"
#include "link/seams.h"
#include "link/shell.h"
#include "link/signal.h"

namespace vantor {

inline constexpr uint16_t kBootLoaderPort = 47000;

enum class Edit2Colour { Window, Yellow };

// What the window's controls show.
struct FirmwareView {
  int64_t progressPosition = 0;  // ProgressBarFW
  int64_t progressMaximum = 1000;
  Colour wrFl = Colour::ButtonFace;
  std::string edit2 = "Edit2";
  Edit2Colour edit2Colour = Edit2Colour::Window;
  bool btBootEnabled = false;  // the version reply decides both
  bool btStrtEnabled = false;
  bool conectEnabled = true;
  bool abortEnabled = false;
  // ErrorBar: 0 connection state, 1 error text, 2 error count.
  std::array<std::string, 3> errorBar;
  // Under the bar during an upload: "line N of M, P %, ETA m:ss".
  std::string progressLine;
  // Why the last upload did not start or did not finish; empty otherwise.
  std::string message;
};

// What a driver without a window (vantorctl) follows.
enum class FirmwareEvent {
  VersionRead,        // a version reply in state "F"; view.edit2 holds the version
  ReplyFailed,        // a reply not beginning with "0": "ERR", the exchange halts
  StatusRead,         // a status reply; statusChar() holds its character
  UploadStarted,      // "U0" sent
  UploadInterrupted,  // the link failed, or Abort, before the write was asked
  FileRefused,        // the file could not be read or is no Intel HEX
  LinkFailed,         // a socket error; the socket reopens 250 ms later
  ClosedOk,           // "WRITED": "R" sent, the window closes with OK
};

class FirmwareUpload {
 public:
  static constexpr int kCmdTimeMs = 250;
  static constexpr int kTimeOutConectMs = 250;
  // Firmware files are text of a few megabytes at most (a 512 KiB image is
  // about 1.5 MB of records).
  static constexpr uint64_t kMaxFileBytes = 32u << 20;
  static constexpr const char* kStatusWords[5] = {"IDLE", "STARTED", "WRITING", "FAILED", "WRITED"};

  explicit FirmwareUpload(Seams& seams);
  ~FirmwareUpload();
  FirmwareUpload(const FirmwareUpload&) = delete;
  FirmwareUpload& operator=(const FirmwareUpload&) = delete;

  // The device's address; set by the main window before the window is shown.
  std::string host;

  const FirmwareView& view() const { return view_; }
  char state() const { return state_; }  // 0, 'F', 'B', 'U', 'W' or 'S'
  bool autoVersion() const { return autoVersion_; }
  uint8_t errorCount() const { return errorCount_; }
  char statusChar() const { return statusChar_; }
  size_t linesSent() const { return next_; }
  size_t lineCount() const { return lines_.size(); }
  // Replies that were not taken (joined, or with no step waiting for them).
  const BoundedLog& log() const { return log_; }

  Signal<> onChange;
  Signal<FirmwareEvent> onEvent;

  // Window and user events.
  void FormShow();
  void ConectClick() { FormShow(); }
  void FormClose();
  void BtFWClick();
  void BtBootClick();
  // Reads and checks the whole file at `path`, then sends "U0". Returns false
  // (and sends nothing) when the file cannot be read or is refused.
  bool BtStrtClick(const std::string& path);
  void BtRSTClick();
  void BtGetStClick();
  void BtWRClick();
  // Stops the upload after the line in flight; the device stays in boot mode.
  void AbortClick();

  // Timer ticks (public so the tests can fire them through the fakes).
  void CmdTimeTimer();
  void TimeOutConectTimer();

  Socket& lan2() { return *lan2_; }
  Timer& cmdTime() { return *cmdTime_; }
  Timer& timeOutConect() { return *timeOutConect_; }

 private:
  class Lan2Events;
  friend class Lan2Events;

  void Lan2Connecting();
  void Lan2Connect();
  void Lan2Disconnect();
  void Lan2Error();
  void Lan2Read(ByteView bytes);

  void send(std::string_view text, bool awaitsReply = true);
  void sendNextLine();
  void endUpload(const std::string& why);
  void updateProgressLine();
  void changed() { onChange(); }
  bool replyTooLong(std::string_view reply) const;

  Clock& clock_;
  std::unique_ptr<Socket> lan2_;
  std::unique_ptr<Timer> cmdTime_, timeOutConect_;
  std::unique_ptr<Lan2Events> events_;

  FirmwareView view_;
  char state_ = 0;
  bool autoVersion_ = false;
  uint8_t errorCount_ = 0;
  char statusChar_ = 0;
  bool awaiting_ = false;      // a request was sent and its reply has not come
  bool startPending_ = false;  // "U0" goes out once the awaited reply came
  BoundedLog log_{200};

  std::vector<FirmwareLine> lines_;  // the file being uploaded; empty when none
  size_t next_ = 0;                  // lines sent so far
  int64_t uploadStartMs_ = 0;
};

}  // namespace vantor
