#pragma once
// The event-log download of the "Deb" page ("Get LOG"): command 69 gives the
// log area's base address, then 501 requests of command 21 read it block by
// block, each sent only after the previous block arrived. After the last block
// the image is decoded and written as the log file in the data directory, and
// "LOG done" goes to Memo1.
//
// The file is written whole to a temporary file and renamed over the old log
// only when complete, so a failed write leaves the previous log as it was; the
// image is kept, so "Get LOG" can try again. The heading names the device by
// the version text its last version reply gave.
#include <cstdint>
#include <string>
#include <vector>

#include "link/command_channel.h"
#include "link/command_feature.h"
#include "link/connection.h"
#include "link/shell.h"
#include "monitor/event_log_text.h"

namespace vantor {

struct EventLogControls {
  int progressBarLog = 0;  // 0 .. 500
  // "block N of 501, ETA m:ss" while a download runs, else what the last one came to.
  std::string progressText;
  bool downloading = false;
};

class EventLog final : public CommandFeature {
 public:
  EventLog(Shell& shell, CommandChannel& channel, const Clock& clock,
           const ConnectionControls& link, const std::string& identification);

  EventLogControls controls;

  // The folder the log file goes to (ends in a slash); the file is named after
  // the window's caption.
  void setDataDir(std::string dir) { dataDir_ = std::move(dir); }
  // Writes to this file instead of the one in the data directory.
  void setFilePath(std::string path) { filePath_ = std::move(path); }
  std::string filePath() const;

  void GetLogClick() { channel_.queueCmd(69); }

  void buildRequest(int code, RequestWriter& out) override;
  void handleReply(int code, PayloadReader& payload) override;
  void requestEnded(int code, RequestEnd end) override;
  void mainDisconnected();

  // The last download's outcome: the file written (or not) and its event count.
  Signal<bool> onFinished;
  const EventLogCount& lastCount() const { return lastCount_; }
  uint32_t blocksReceived() const { return received_; }
  const Bytes& image() const { return image_; }
  uint32_t baseAddress() const { return base_; }

  // Writes the file from the image now held; false with the reason in Memo1
  // and StatusBar panel 0 when it cannot be created.
  bool writeFile();

 private:
  void stop(const std::string& why);
  void showProgress();
  void changed() { shell_.changed(Area::Diagnosis); }

  Shell& shell_;
  CommandChannel& channel_;
  const Clock& clock_;
  const ConnectionControls& link_;
  const std::string& identification_;
  std::string dataDir_;
  std::string filePath_;
  Bytes image_ = Bytes(kLogImageBytes, 0);
  uint32_t base_ = 0;
  uint32_t nextBlock_ = 0;
  uint32_t blocksLeft_ = 0;
  uint32_t received_ = 0;
  int64_t startedMs_ = 0;
  EventLogCount lastCount_;
};

}  // namespace vantor
