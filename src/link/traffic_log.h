#pragma once
// The main port's traffic: every request written and every frame received
// (good, or rejected with the reader's verdict), with the time of day to the
// millisecond, kept in a ring of the newest kCapacity frames. The payloads of
// the user-account commands (38, 39) are never kept, only their length, so no
// password reaches the log, its view or its file.
#include <cstdint>
#include <deque>
#include <string>

#include "link/bytes.h"
#include "link/command_channel.h"
#include "link/seams.h"
#include "link/signal.h"

namespace vantor {

struct TrafficRecord {
  int64_t ms = 0;  // milliseconds since midnight, local time
  bool sent = false;
  int code = -1;        // -1 when the frame was too short to name one
  Bytes shown;          // the frame, or only its head when the payload is hidden
  size_t hidden = 0;    // payload bytes not kept
  std::string verdict;  // received frames: "ok" or the reader's reason
};

class TrafficLog {
 public:
  static constexpr size_t kCapacity = 20000;

  TrafficLog(CommandChannel& channel, const Clock& clock);
  TrafficLog(const TrafficLog&) = delete;
  TrafficLog& operator=(const TrafficLog&) = delete;

  // While paused nothing is recorded.
  void setPaused(bool paused) { paused_ = paused; }
  bool paused() const { return paused_; }
  void clear();

  size_t size() const { return records_.size(); }
  // Every frame recorded since the start; records [total() - size(), total()) are held.
  size_t total() const { return total_; }
  const TrafficRecord& operator[](size_t i) const { return records_[i]; }
  // One line: "hh:mm:ss.mmm TX  21 02 00 01 ..." ("RX", and the verdict last).
  static std::string line(const TrafficRecord& r);

  // Every held line, CR LF ended: the text of the "Save..." file.
  std::string text() const;

  // Told of each record as it is kept (vantorctl --trace prints it).
  Signal<const TrafficRecord&> onRecord;

 private:
  void record(bool sent, ByteView frame, std::string verdict);

  const Clock& clock_;
  int64_t dayStartMs_ = 0;  // monotonic time of the last midnight
  std::deque<TrafficRecord> records_;
  size_t total_ = 0;
  bool paused_ = false;
  Subscription<int, ByteView> sent_;
  Subscription<ByteView, const std::string&> received_;
};

}  // namespace vantor
