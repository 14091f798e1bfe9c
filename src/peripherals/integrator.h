#pragma once
// Integrator: the "Sim Integrador" page. The tool stands in for the plant's
// integrator on the device's integrator link (PortRec, port 49000, "Slave")
// and its auxiliary integrator port (MobSock, port 46000, "Mob").
//
// Received bytes are framed per socket (IntegratorReader). Every request of
// the device on PortRec (code below 500) is answered at once with the canned
// answer that SelReg selects; the device's answer 544 to a label upload sets
// the printer's MsgPrt; MobSock messages are split into their tab fields.
//
// The tool's own messages wait in IntegratorQueue; SendNextIntegratorMsg sends
// the head on every poll tick, codes 600 and up to MobSock, the rest to
// PortRec. Each code's body comes from the builder bound to it (bindMessage);
// a code without a builder goes out with an empty body. Other features bind
// their messages and queue them with queueMessage.
//
// The page shows controls.memo2 / memo10 and repaints on Area::Integrator.
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "link/bounded_log.h"
#include "link/command_channel.h"
#include "link/command_feature.h"
#include "link/connection.h"
#include "link/shell.h"
#include "peripherals/integrator_answers.h"
#include "peripherals/integrator_frame.h"
#include "peripherals/integrator_queue.h"

namespace vantor {

// One message received or sent on an integrator port, for logs outside the memos.
struct IntegratorTraffic {
  bool sent = false;
  uint16_t port = 0;  // 49000 or 46000
  std::string text;   // the text between STX and ETX, or what was skipped and why
};

struct IntegratorControls {
  static constexpr size_t kMemoLines = 20000;
  BoundedLog memo2{kMemoLines};   // everything received on both ports
  BoundedLog memo10{kMemoLines};  // everything sent on both ports
  int selReg = 1;                 // 0 .. 2000; 0 refuses the device's requests
  bool autoAck = true;            // unchecked: SelReg returns to 0 after each answer
  int selPeso = 0;                // hidden, 0 .. 19999
  int mobValCmd = 601;            // 500 .. 610
  std::string edit2;              // the BCC of the last message sent, decimal
};

class Integrator final : public CommandFeature {
 public:
  static constexpr int32_t kFirstMobCode = 600;
  // Returns the body that follows "%03d\t" of its code; called when the
  // message is sent, so it reads the controls as they are then.
  using Body = std::function<std::string()>;

  Integrator(Shell& shell, CommandChannel& channel, Connection& connection, const Clock& clock);
  ~Integrator() override;
  Integrator(const Integrator&) = delete;
  Integrator& operator=(const Integrator&) = delete;

  IntegratorControls controls;

  // The device's request 82 was answered: it asks for the label.
  std::function<void()> onLabelRequested;
  // The device's answer to message 544: true when it took the label.
  std::function<void(bool accepted)> onLabelAnswer;
  // Every message received, skipped or sent.
  Signal<const IntegratorTraffic&> onTraffic;

  // shownAs, when given, stands in the logs (Memo10, onTraffic) for a body
  // that must not be shown.
  void bindMessage(int32_t code, Body body, std::string shownAs = {}) {
    bodies_[code] = std::move(body);
    if (!shownAs.empty()) shownAs_[code] = std::move(shownAs);
  }
  // Appends a code to IntegratorQueue; a full queue drops it and Memo10 says so.
  void queueMessage(int32_t code);

  // Buttons.
  void WkpClick() { queueMessage(550); }
  void Button6Click() { queueMessage(551); }
  void Button7Click() { queueMessage(502); }
  void Button9Click() { queueMessage(503); }
  void TestMobClick() { queueMessage(controls.mobValCmd); }
  void RejPesoClick() { channel_.queueCmd(20); }
  void Button1Click() { channel_.queueCmd(35); }

  void SendNextIntegratorMsg();
  void PortRecRead(ByteView bytes);
  void MobSockRead(ByteView bytes);

  const IntegratorQueue& queue() const { return queue_; }
  const AnswerCounters& counters() const { return counters_; }

  void buildRequest(int code, RequestWriter& out) override;
  void handleReply(int code, PayloadReader& payload) override;

 private:
  class PortSink;
  void portRecMessage(std::string_view text, ByteView frame);
  void mobSockMessage(std::string_view text);
  void rejected(const char* who, const char* why, ByteView bytes);
  void traffic(bool sent, uint16_t port, std::string text) {
    onTraffic({sent, port, std::move(text)});
  }
  void connected(uint16_t port);
  void pollTick();
  void changed() { shell_.changed(Area::Integrator); }

  Shell& shell_;
  CommandChannel& channel_;
  Connection& connection_;
  const Clock& clock_;
  IntegratorQueue queue_;
  AnswerCounters counters_;
  std::map<int32_t, Body> bodies_;
  std::map<int32_t, std::string> shownAs_;
  IntegratorReader portRecReader_, mobSockReader_;
  std::unique_ptr<PortSink> portRecSink_, mobSockSink_;
  Subscription<> tick_;
  Subscription<ByteView> portRecRead_, mobSockRead_;
  Subscription<uint16_t> connected_;
};

}  // namespace vantor
