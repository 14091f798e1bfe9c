#include "link/traffic_log.h"

#include "link/frame.h"
#include "link/text_format.h"

namespace vantor {

namespace {

constexpr int64_t kMsPerDay = 86400000;

bool hidesPayload(int code) { return code == 38 || code == 39; }

}  // namespace

TrafficLog::TrafficLog(CommandChannel& channel, const Clock& clock)
    : clock_(clock),
      sent_(channel.onRequestSent,
            [this](int, ByteView frame) { record(true, frame, std::string()); }),
      received_(channel.onFrameReceived, [this](ByteView frame, const std::string& verdict) {
        record(false, frame, verdict);
      }) {
  const LocalTime t = clock.localTime();
  dayStartMs_ = clock.monotonicMs() - (int64_t{t.hour} * 3600 + t.minute * 60 + t.second) * 1000;
}

void TrafficLog::clear() { records_.clear(); }

void TrafficLog::record(bool sent, ByteView frame, std::string verdict) {
  if (paused_) return;
  TrafficRecord r;
  r.ms = (clock_.monotonicMs() - dayStartMs_) % kMsPerDay;
  if (r.ms < 0) r.ms += kMsPerDay;
  r.sent = sent;
  r.verdict = std::move(verdict);
  if (frame.size() > 7) r.code = frame[7];
  // Requests carry their parameters after CMD, replies after CMD and ACK.
  const size_t head = sent ? 8 : 9;
  if (hidesPayload(r.code) && frame.size() > head) {
    r.shown.assign(frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(head));
    const size_t trailer = frame.size() >= head + 3 ? 3 : 0;
    r.hidden = frame.size() - head - trailer;
  } else {
    r.shown.assign(frame.begin(), frame.end());
  }
  if (records_.size() >= kCapacity) records_.pop_front();
  records_.push_back(std::move(r));
  ++total_;
  onRecord(records_.back());
}

std::string TrafficLog::line(const TrafficRecord& r) {
  const int64_t ms = r.ms;
  std::string text = format("%02d:%02d:%02d.%03d %s %3s ", static_cast<int>(ms / 3600000),
                            static_cast<int>(ms / 60000 % 60), static_cast<int>(ms / 1000 % 60),
                            static_cast<int>(ms % 1000), r.sent ? "TX" : "RX",
                            r.code < 0 ? "--" : format("%d", r.code).c_str());
  text += hexSpaced(r.shown);
  if (r.hidden > 0) text += format(" (%zu bytes, not shown)", r.hidden);
  if (!r.sent) text += format(" [%s]", r.verdict.c_str());
  return text;
}

std::string TrafficLog::text() const {
  std::string out;
  for (const TrafficRecord& r : records_) {
    out += line(r);
    out += "\r\n";
  }
  return out;
}

}  // namespace vantor
