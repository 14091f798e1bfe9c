#pragma once
// The main port's request/reply engine: the command queue, the request
// builder, the reply reader and the dispatcher, driven by the connection.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "link/command_catalogue.h"
#include "link/command_feature.h"
#include "link/command_queue.h"
#include "link/frame_reader.h"
#include "link/seams.h"
#include "link/shell.h"
#include "link/signal.h"
#include "link/tx_frame.h"

namespace vantor {

// The hex read-outs of the last request and the last reply.
struct Readouts {
  std::string protMaster;  // request header and trailer
  std::string msComPr;     // request CmdNum and ParNum
  std::string comProt;     // reply STX .. ACK, then its trailer on success
  std::string slComPr;     // reply counter and ParNum
};

// The request whose reply is awaited. It is sent once more after a bad reply
// or a silence; after a silence its first sending may still be answered late,
// so once the reply has come the queue waits for that second answer (or two
// reply timeouts) rather than take it for the next request's reply.
struct InFlightRequest {
  int code = 0;
  Bytes frame;            // what was sent, for the one repeat
  bool repeated = false;  // sent a second time
  bool repeatedAfterSilence = false;
  bool answered = false;  // the reply came; a late second one may follow
};

class CommandChannel : private FrameSink {
 public:
  static constexpr int kDefaultReplyTimeoutMs = 1000;
  static constexpr int kChecksPerTimeout = 4;

  CommandChannel(Shell& shell, const Clock& clock);

  // The composition root binds each code to the feature that writes its request
  // and the feature that handles its reply; other features may observe a reply
  // they do not own (each reads the payload from its start, after the handler).
  void bindRequest(int code, CommandFeature* builder);
  void bindReply(int code, CommandFeature* handler);
  void observeReply(int code, CommandFeature* observer);
  void setSocket(Socket* lan2) { lan2_ = lan2; }
  // The timer that ends the wait for a reply; its interval is the reply timeout.
  void setReplyTimer(Timer* timer);
  void setReplyTimeoutMs(int ms);
  // The main link ended: no reply is awaited any more.
  void linkDown();
  // Whether a request sent now reaches the device (the main link is connected).
  bool linkUp() const { return lan2_ && lan2_->connected(); }

  void queueCmd(int code) { queue_.push(code); }  // QueueCmd
  void sendNextCmd();                             // SendNextCmd
  void lan2Read(ByteView bytes);                  // Lan2Read
  void expirePartialReply();                      // on every poll tick
  void resetReceiver() { reader_.clear(); }       // on connect and disconnect
  void clearQueue() { queue_.clear(); }

  const CmdQueue& queue() const { return queue_; }
  // The code of the request whose reply is awaited (a request is sent only when
  // none is), or nothing.
  std::optional<int> awaitedCode() const;
  // Good frames that answered nothing that was asked (stale or foreign).
  uint32_t unsolicitedCount() const { return unsolicited_; }
  const Readouts& readouts() const { return readouts_; }
  TxFrame& txFrame() { return tx_; }

  // Told after each good reply has been checked and before it is dispatched.
  Signal<> onGoodReply;
  // Consulted before the catalogue when a request is built: returns true when
  // it wrote the request's parameters itself (raw requests of the debug tools).
  std::function<bool(int code, RequestWriter& out)> requestOverride;
  // Observers of the traffic; a reply is told after its handler ran (the command-line tool prints
  // replies from here).
  Signal<int, ByteView> onReply;
  Signal<int, ByteView> onRequestSent;
  // Every frame the reader delivers, good ("ok") or rejected (the head it
  // kept and the reason), before anything else is done with it.
  Signal<ByteView, const std::string&> onFrameReceived;
  // A request ended without its reply (after its feature was told).
  Signal<int, RequestEnd> onRequestEnded;
  // A reply shorter than its handler reads (code, bytes it had, bytes read):
  // the handler ran with zeros for what was missing.
  Signal<int, size_t, size_t> onShortReply;
  // Reply timeouts in a row (a reply of any kind starts the count again).
  Signal<int> onSilence;

 private:
  void frameGood(ByteView frame) override;
  void frameError(const std::string& text, ByteView head,
                  std::optional<FrameCounters> counters) override;
  void dispatchReply(ByteView frame);
  void runHandler(CommandFeature& feature, int code, ByteView payload);
  void awaitReply(int code, ByteView frame);
  void armReplyTimer();
  void stopWaiting();
  void sendOnceMore(bool afterSilence);
  void endRequest(RequestEnd end);
  void replyTimedOut();
  void replyTimerTick();
  void unsolicited(int code, const char* what);

  Shell& shell_;
  const Clock& clock_;
  Socket* lan2_ = nullptr;
  Timer* replyTimer_ = nullptr;
  int replyTimeoutMs_ = kDefaultReplyTimeoutMs;
  int64_t waitingSinceMs_ = 0;
  std::optional<InFlightRequest> inFlight_;
  uint32_t unsolicited_ = 0;
  int silences_ = 0;
  CmdQueue queue_;
  TxFrame tx_;
  FrameReader reader_;
  Readouts readouts_;
  std::array<CommandFeature*, 256> builders_{};
  std::array<CommandFeature*, 256> handlers_{};
  std::array<std::vector<CommandFeature*>, 256> observers_{};
};

}  // namespace vantor
