#include "link/command_channel.h"

#include <exception>

#include "link/frame.h"
#include "link/text_format.h"

namespace vantor {

CommandChannel::CommandChannel(Shell& shell, const Clock& clock) : shell_(shell), clock_(clock) {}

void CommandChannel::bind(Feature feature, CommandFeature* impl) {
  features_.at(static_cast<size_t>(feature)) = impl;
}

CommandFeature* CommandChannel::featureFor(Feature feature) const {
  return feature == Feature::None ? nullptr : features_[static_cast<size_t>(feature)];
}

void CommandChannel::sendNextCmd() {
  const std::optional<int> code = queue_.head();
  if (!code) return;
  tx_.begin(*code);
  const CommandRow* row = findCommand(*code);
  try {
    const bool overridden = requestOverride && requestOverride(*code, tx_);
    CommandFeature* builder = row && !overridden ? featureFor(row->request) : nullptr;
    if (builder) builder->buildRequest(*code, tx_);
  } catch (const RequestRefused& e) {
    queue_.popHead();
    shell_.setError(1, e.what());
    return;
  } catch (...) {
    // A request that cannot be built is not sent; the queue goes on.
    queue_.popHead();
    throw;
  }
  const ByteView frame = tx_.finish();
  readouts_.msComPr = tx_.msComPr();
  readouts_.protMaster = tx_.protMaster();
  shell_.changed(Area::Readouts);
  if (lan2_) lan2_->write(frame);
  if (onRequestSent) onRequestSent(*code, frame);
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
  if (onGoodReply) onGoodReply();
  dispatchReply(frame);
}

void CommandChannel::dispatchReply(ByteView frame) {
  const int code = frame[7];
  const ByteView payload = frame.subspan(9, frame.size() - frame::kOverhead - 1);
  const CommandRow* row = findCommand(code);
  if (CommandFeature* handler = row ? featureFor(row->reply) : nullptr) {
    PayloadReader reader(payload);
    try {
      handler->handleReply(code, reader);
    } catch (const std::exception& e) {
      shell_.setError(1, format("Reply %d: %s", code, e.what()));
    }
    if (reader.wasShort())
      shell_.setError(
          1, format("Short reply %d: %zu of %zu bytes", code, reader.size(), reader.wanted()));
  }
  if (onReply) onReply(code, frame);
  sendNextCmd();
}

}  // namespace vantor
