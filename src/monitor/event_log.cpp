#include "monitor/event_log.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "app/data_dir.h"
#include "config/file_bytes.h"
#include "link/text_format.h"

namespace vantor {

EventLog::EventLog(Shell& shell, CommandChannel& channel, const Clock& clock,
                   const ConnectionControls& link, const std::string& identification)
    : shell_(shell),
      channel_(channel),
      clock_(clock),
      link_(link),
      identification_(identification) {}

std::string EventLog::filePath() const {
  return filePath_.empty() ? eventLogPath(dataDir_, kWindowCaption) : filePath_;
}

void EventLog::buildRequest(int code, RequestWriter& out) {
  if (code == 21) out.put32(nextBlock_);
}

void EventLog::handleReply(int code, PayloadReader& p) {
  if (code == 69) {
    base_ = nextBlock_ = p.u32(0);
    blocksLeft_ = kLogBlocks;
    received_ = 0;
    startedMs_ = clock_.monotonicMs();
    controls.downloading = true;
    controls.progressBarLog = 0;
    channel_.queueCmd(21);
    showProgress();
    return;
  }
  if (code != 21) return;
  // A block nobody asked for, or one past the last, never reaches the image.
  if (!controls.downloading || received_ >= kLogBlocks) return;
  const ByteView bytes = p.bytes();
  if (bytes.size() < kLogBlockBytes) {
    p.u8(kLogBlockBytes - 1);  // the reply is reported short
    stop(format("LOG stopped: block %u of %u was short (%zu of %zu bytes)", received_ + 1,
                kLogBlocks, bytes.size(), kLogBlockBytes));
    return;
  }
  std::memcpy(image_.data() + size_t{received_} * kLogBlockBytes, bytes.data(), kLogBlockBytes);
  ++received_;
  if (blocksLeft_ > 1) {
    channel_.queueCmd(21);
    nextBlock_ += kLogBlockBytes;
    --blocksLeft_;
    controls.progressBarLog = static_cast<int>(kLogBlocks - blocksLeft_);
    showProgress();
    return;
  }
  blocksLeft_ = 0;
  controls.downloading = false;
  writeFile();
}

void EventLog::showProgress() {
  const uint32_t done = received_;
  const int64_t elapsed = clock_.monotonicMs() - startedMs_;
  if (done == 0) {
    controls.progressText = format("block 1 of %u", kLogBlocks);
  } else {
    const int64_t etaS = (elapsed * (kLogBlocks - done) / done + 999) / 1000;
    controls.progressText = format("block %u of %u, ETA %d:%02d", done + 1, kLogBlocks,
                                   static_cast<int>(etaS / 60), static_cast<int>(etaS % 60));
  }
  changed();
}

bool EventLog::writeFile() {
  const std::string path = filePath();
  lastCount_ = eventLogCount(image_, base_);
  const std::string text = eventLogText(image_, base_, identification_, link_.host);
  std::string error;
  bool ok = writeFileText(path, text, error);
  if (!ok) {
    // The data directory may not exist yet: make it and try once more.
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    error.clear();
    ok = writeFileText(path, text, error);
  }
  if (ok) {
    controls.progressText = format("%d events written", lastCount_.used);
    shell_.log("LOG done");
  } else {
    controls.progressText = error;
    shell_.log(error);
    shell_.setStatus(0, error);
  }
  changed();
  onFinished(ok);
  return ok;
}

void EventLog::stop(const std::string& why) {
  if (!controls.downloading) return;
  controls.downloading = false;
  controls.progressText = why;
  shell_.log(why);
  changed();
  onFinished(false);
}

void EventLog::requestEnded(int code, RequestEnd end) {
  if (code == 21)
    stop(format("LOG stopped at block %u of %u: %s", received_ + 1, kLogBlocks,
                requestEndText(end)));
}

void EventLog::mainDisconnected() {
  stop(format("LOG stopped at block %u of %u: the link ended", received_ + 1, kLogBlocks));
}

}  // namespace vantor
