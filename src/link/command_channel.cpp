#include "link/command_channel.h"

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

void CommandChannel::sendNextCmd() {
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
  if (lan2_) lan2_->write(frame);
  onRequestSent(*code, frame);
  queue_.popHead();
}

void CommandChannel::lan2Read(ByteView bytes) { reader_.feed(bytes, clock_.monotonicMs(), *this); }

void CommandChannel::expirePartialReply() { reader_.expire(clock_.monotonicMs(), *this); }

void CommandChannel::frameError(const std::string& text, ByteView head,
                                std::optional<FrameCounters> counters) {
  readouts_.comProt = hexGroups(head);
  if (counters) readouts_.slComPr = format("%6d %6d", counters->replyCounter, counters->parNum);
  shell_.changed(Area::Readouts);
  shell_.setError(1, text);
}

void CommandChannel::frameGood(ByteView frame) {
  const size_t parNum = frame.size() - frame::kOverhead;
  readouts_.slComPr = format("%6d %6d", frame[3] << 8 | frame[4], static_cast<int>(parNum));
  readouts_.comProt = hexGroups(frame.first(9)) + "..  " + hexGroups(frame.last(3));
  shell_.changed(Area::Readouts);
  onGoodReply();
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
  if (reader.wasShort())
    shell_.setError(
        1, format("Short reply %d: %zu of %zu bytes", code, reader.size(), reader.wanted()));
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
