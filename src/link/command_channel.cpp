#include "link/command_channel.h"

#include <algorithm>
#include <exception>

#include "link/frame.h"
#include "link/text_format.h"

namespace vantor {

CommandChannel::CommandChannel(Shell& shell, const Clock& clock) : shell_(shell), clock_(clock) {}

void CommandChannel::bindRequest(int code, CommandFeature* builder) {
  builders_.at(static_cast<size_t>(code)) = builder;
}

void CommandChannel::bindReply(int code, CommandFeature* handler) {
  handlers_.at(static_cast<size_t>(code)) = handler;
}

void CommandChannel::observeReply(int code, CommandFeature* observer) {
  observers_.at(static_cast<size_t>(code)).push_back(observer);
}

const char* requestEndText(RequestEnd end) {
  switch (end) {
    case RequestEnd::Refused:
      return "refused";
    case RequestEnd::NoReply:
      return "no reply";
    case RequestEnd::BadReply:
      return "no good reply";
  }
  return "";
}

void CommandChannel::setReplyTimer(Timer* timer) {
  if (replyTimer_) replyTimer_->setCallback(nullptr);
  replyTimer_ = timer;
  if (!timer) return;
  timer->setCallback([this] { replyTimerTick(); });
  setReplyTimeoutMs(replyTimeoutMs_);
}

// The timer only looks at the clock a few times per timeout while a reply is
// awaited, so a healthy exchange costs no timer start or stop.
void CommandChannel::setReplyTimeoutMs(int ms) {
  replyTimeoutMs_ = std::max(ms, 1);
  if (replyTimer_) replyTimer_->setInterval(std::max(replyTimeoutMs_ / kChecksPerTimeout, 1));
}

void CommandChannel::replyTimerTick() {
  if (!inFlight_) {
    replyTimer_->setEnabled(false);
    return;
  }
  // A device slow enough to be asked twice answers the second sending about one
  // reply timeout after the first: the wait for that answer gets twice as long,
  // so it is not cut off just as it arrives and then taken for the next reply.
  const int64_t limit = inFlight_->answered ? 2 * int64_t{replyTimeoutMs_} : replyTimeoutMs_;
  if (clock_.monotonicMs() - waitingSinceMs_ >= limit) replyTimedOut();
}

std::optional<int> CommandChannel::awaitedCode() const {
  if (!inFlight_) return std::nullopt;
  return inFlight_->code;
}

void CommandChannel::linkDown() {
  inFlight_.reset();
  silences_ = 0;
  if (replyTimer_) replyTimer_->setEnabled(false);
}

void CommandChannel::sendNextCmd() {
  if (inFlight_) return;  // one request at a time: the next goes out when this one ends
  const std::optional<int> code = queue_.head();
  if (!code) return;
  tx_.begin(*code);
  // A request that cannot be built is not sent: its reason goes to the error
  // panel and the queue goes on. Nothing a builder throws leaves the channel.
  std::string refused;
  try {
    const bool overridden = requestOverride && requestOverride(*code, tx_);
    CommandFeature* builder = overridden ? nullptr : builders_[static_cast<uint8_t>(*code)];
    if (builder) builder->buildRequest(*code, tx_);
  } catch (const std::exception& e) {
    refused = e.what();
  } catch (...) {
    refused = format("Command %d: request could not be built", *code);
  }
  if (!refused.empty()) {
    queue_.popHead();
    shell_.setError(1, refused);
    return;
  }
  const ByteView frame = tx_.finish();
  readouts_.msComPr = tx_.msComPr();
  readouts_.protMaster = tx_.protMaster();
  shell_.changed(Area::Readouts);
  // A request sent while the link is down goes nowhere: it is consumed and
  // nothing is awaited.
  const bool delivered = linkUp();
  if (lan2_) lan2_->write(frame);
  onRequestSent(*code, frame);
  queue_.popHead();
  if (delivered) awaitReply(*code, frame);
}

void CommandChannel::awaitReply(int code, ByteView frame) {
  inFlight_.emplace();
  inFlight_->code = code;
  inFlight_->frame.assign(frame.begin(), frame.end());
  armReplyTimer();
}

void CommandChannel::armReplyTimer() {
  waitingSinceMs_ = clock_.monotonicMs();
  if (replyTimer_ && !replyTimer_->enabled()) replyTimer_->setEnabled(true);
}

void CommandChannel::stopWaiting() { inFlight_.reset(); }  // the timer stops at its next tick

void CommandChannel::sendOnceMore(bool afterSilence) {
  inFlight_->repeated = true;
  inFlight_->repeatedAfterSilence = afterSilence;
  if (lan2_) lan2_->write(inFlight_->frame);
  onRequestSent(inFlight_->code, inFlight_->frame);
  armReplyTimer();
}

void CommandChannel::endRequest(RequestEnd end) {
  const int code = inFlight_->code;
  stopWaiting();
  const uint8_t c = static_cast<uint8_t>(code);
  if (CommandFeature* owner = handlers_[c] ? handlers_[c] : builders_[c]) {
    try {
      owner->requestEnded(code, end);
    } catch (const std::exception& e) {
      shell_.setError(1, format("Command %d: %s", code, e.what()));
    }
  }
  onRequestEnded(code, end);
}

void CommandChannel::replyTimedOut() {
  if (inFlight_->answered) {  // a late second answer never came: go on
    stopWaiting();
    sendNextCmd();
    return;
  }
  onSilence(++silences_);
  if (!inFlight_->repeated) {
    sendOnceMore(true);
    return;
  }
  shell_.setError(1, format("No reply to command %d", inFlight_->code));
  endRequest(RequestEnd::NoReply);
  sendNextCmd();
}

void CommandChannel::unsolicited(int code, const char* what) {
  ++unsolicited_;
  shell_.log(format("%s %d", what, code));
}

void CommandChannel::lan2Read(ByteView bytes) { reader_.feed(bytes, clock_.monotonicMs(), *this); }

void CommandChannel::expirePartialReply() { reader_.expire(clock_.monotonicMs(), *this); }

void CommandChannel::frameError(const std::string& text, ByteView head,
                                std::optional<FrameCounters> counters) {
  onFrameReceived(head, text);
  readouts_.comProt = hexGroups(head);
  if (counters) readouts_.slComPr = format("%6d %6d", counters->replyCounter, counters->parNum);
  shell_.changed(Area::Readouts);
  shell_.setError(1, text);
  // Bytes that do not even start a frame are no reply; a late second answer
  // that arrives damaged changes nothing.
  if (!inFlight_ || inFlight_->answered || text == "NET_ERR_STX") return;
  silences_ = 0;
  if (text == "NAK") {
    endRequest(RequestEnd::Refused);
  } else if (!inFlight_->repeated) {
    sendOnceMore(false);
    return;
  } else {
    endRequest(RequestEnd::BadReply);
  }
  sendNextCmd();
}

void CommandChannel::frameGood(ByteView frame) {
  onFrameReceived(frame, "ok");
  const size_t parNum = frame.size() - frame::kOverhead;
  readouts_.slComPr = format("%6d %6d", frame[3] << 8 | frame[4], static_cast<int>(parNum));
  readouts_.comProt = hexGroups(frame.first(9)) + "..  " + hexGroups(frame.last(3));
  shell_.changed(Area::Readouts);
  const int code = frame[7];
  // The device answers only what it is asked: anything else is stale or foreign.
  if (!inFlight_ || (code != inFlight_->code && (code != 0 || inFlight_->answered))) {
    unsolicited(code, "Unsolicited reply");
    return;
  }
  silences_ = 0;
  if (inFlight_->answered) {  // the late answer to the first sending
    unsolicited(code, "Second reply ignored");
    stopWaiting();
    sendNextCmd();
    return;
  }
  onGoodReply();
  if (code == 0) {  // an unusable exchange: shown by its handler, the request is refused
    endRequest(RequestEnd::Refused);
  } else if (inFlight_->repeatedAfterSilence) {
    inFlight_->answered = true;
    armReplyTimer();
  } else {
    stopWaiting();
  }
  dispatchReply(frame);
}

void CommandChannel::runHandler(CommandFeature& feature, int code, ByteView payload) {
  PayloadReader reader(payload);
  try {
    feature.handleReply(code, reader);
  } catch (const std::exception& e) {
    shell_.setError(1, format("Reply %d: %s", code, e.what()));
  } catch (...) {
    shell_.setError(1, format("Reply %d could not be handled", code));
  }
  if (reader.wasShort()) {
    shell_.setError(
        1, format("Short reply %d: %zu of %zu bytes", code, reader.size(), reader.wanted()));
    onShortReply(code, reader.size(), reader.wanted());
  }
}

void CommandChannel::dispatchReply(ByteView frame) {
  const int code = frame[7];
  const ByteView payload = frame.subspan(9, frame.size() - frame::kOverhead - 1);
  if (CommandFeature* handler = handlers_[static_cast<uint8_t>(code)])
    runHandler(*handler, code, payload);
  for (CommandFeature* observer : observers_[static_cast<uint8_t>(code)])
    runHandler(*observer, code, payload);
  onReply(code, frame);
  sendNextCmd();
}

}  // namespace vantor
