#include "peripherals/integrator.h"

#include "config/split_tab_fields.h"
#include "link/text_format.h"

namespace vantor {

// Hands one socket's framed messages and rejects to the integrator.
class Integrator::PortSink final : public IntegratorSink {
 public:
  PortSink(Integrator& owner, const char* who) : owner_(owner), who_(who) {}
  void integratorMessage(std::string_view text, ByteView frame) override {
    if (who_[0] == 'S')
      owner_.portRecMessage(text, frame);
    else
      owner_.mobSockMessage(text);
  }
  void integratorRejected(const char* why, ByteView bytes) override {
    owner_.rejected(who_, why, bytes);
  }

 private:
  Integrator& owner_;
  const char* who_;
};

Integrator::Integrator(Shell& shell, CommandChannel& channel, Connection& connection,
                       const Clock& clock)
    : shell_(shell),
      channel_(channel),
      connection_(connection),
      clock_(clock),
      portRecSink_(std::make_unique<PortSink>(*this, "Slave")),
      mobSockSink_(std::make_unique<PortSink>(*this, "Mob")),
      tick_(connection.hooks.pollTickEnd, [this] { pollTick(); }),
      portRecRead_(connection.hooks.portRecRead, [this](ByteView b) { PortRecRead(b); }),
      mobSockRead_(connection.hooks.mobSockRead, [this](ByteView b) { MobSockRead(b); }),
      connected_(connection.hooks.integratorConnected, [this](uint16_t p) { connected(p); }) {
  // The integrator's own messages; other features bind theirs (543, 544, 545, 554).
  bindMessage(502, [] { return std::string(); });
  bindMessage(503, [this] {
    const LocalTime t = clock_.localTime();
    return format("%02d\t%02d\t%04d\t%02d\t%02d\t%02d", t.day, t.month, t.year, t.hour, t.minute,
                  t.second);
  });
  bindMessage(550, [] { return std::string(); });
  bindMessage(551, [] { return std::string("\t"); });
}

Integrator::~Integrator() = default;

void Integrator::queueMessage(int32_t code) {
  if (!queue_.push(code)) {
    controls.memo10.append(format("Queue full: %03d dropped", code));
    changed();
  }
}

void Integrator::connected(uint16_t port) {
  queue_.clear();
  (port == kIntegratorPort ? portRecReader_ : mobSockReader_).clear();
}

void Integrator::pollTick() {
  const int64_t now = clock_.monotonicMs();
  portRecReader_.expire(now, *portRecSink_);
  mobSockReader_.expire(now, *mobSockSink_);
  SendNextIntegratorMsg();
}

void Integrator::SendNextIntegratorMsg() {
  const std::optional<int32_t> head = queue_.head();
  if (!head) return;
  const int32_t code = *head;
  const bool toMob = code >= kFirstMobCode;
  Socket& socket = toMob ? connection_.mobSock() : connection_.portRec();
  if (!socket.connected()) {
    // Sent nowhere: say so rather than lose it silently.
    controls.memo10.append(format("%03d dropped: port %u not connected", code,
                                  toMob ? kAuxIntegratorPort : kIntegratorPort));
    queue_.popHead();
    changed();
    return;
  }
  std::string text = format("%03d\t", code);
  const auto body = bodies_.find(code);
  if (body != bodies_.end()) text += body->second();
  const Bytes frame = frameIntegratorText(text);
  if (const auto shown = shownAs_.find(code); shown != shownAs_.end())
    text = format("%03d\t", code) + shown->second;
  controls.memo10.append(text);
  controls.edit2 = format("%u", frame.back());
  socket.write(frame);
  queue_.popHead();
  changed();
  traffic(true, toMob ? kAuxIntegratorPort : kIntegratorPort, std::move(text));
}

void Integrator::PortRecRead(ByteView bytes) {
  portRecReader_.feed(bytes, clock_.monotonicMs(), *portRecSink_);
}

void Integrator::MobSockRead(ByteView bytes) {
  mobSockReader_.feed(bytes, clock_.monotonicMs(), *mobSockSink_);
}

void Integrator::rejected(const char* who, const char* why, ByteView bytes) {
  controls.memo2.append(format("%s %s: %s", who, why, decimalBytes(bytes).c_str()));
  changed();
  traffic(false, who[0] == 'S' ? kIntegratorPort : kAuxIntegratorPort,
          format("(%s: %s)", why, decimalBytes(bytes).c_str()));
}

void Integrator::portRecMessage(std::string_view text, ByteView frame) {
  controls.memo2.append(decimalBytes(frame));
  // The text ends at its first zero byte, as the device means it.
  const std::string_view shown = text.substr(0, text.find('\0'));
  controls.memo2.append(std::string(shown));
  traffic(false, kIntegratorPort, std::string(shown));
  const int32_t code = leadingNumber(shown);
  if (code < kFirstOwnMessageCode) {
    const bool answered = controls.selReg != 0;
    const std::string answer = answerText(code, controls.selReg, counters_);
    controls.memo10.append(answer);
    connection_.portRec().write(frameIntegratorText(answer));
    if (!controls.autoAck) controls.selPeso = controls.selReg = 0;
    changed();
    traffic(true, kIntegratorPort, answer);
    if (answered && code == 82 && onLabelRequested) onLabelRequested();
    return;
  }
  changed();
  if (code == 544 && onLabelAnswer) {
    const int32_t value = shown.size() > 5 ? leadingNumber(shown.substr(5)) : 0;
    onLabelAnswer(value != 2);
  }
}

void Integrator::mobSockMessage(std::string_view text) {
  traffic(false, kAuxIntegratorPort, std::string(text));
  controls.memo2.append("");
  if (text.size() > 5)
    for (std::string_view field : splitTabFields(text.substr(5)))
      controls.memo2.append(std::string(field));
  changed();
}

// Commands 20 and 35 carry the hidden SelPeso, low byte first.
void Integrator::buildRequest(int code, RequestWriter& out) {
  if (code == 20 || code == 35) out.put16(static_cast<uint16_t>(controls.selPeso));
}

void Integrator::handleReply(int code, PayloadReader& payload) {
  if (code != 35) return;
  const int32_t number = payload.s32(0);
  const std::string a = payload.text(12, 20), b = payload.text(32, 15), c = payload.text(47, 19);
  controls.memo2.append(
      format("%s %s %s %d %02X", a.c_str(), b.c_str(), c.c_str(), number, payload.u8(66)));
  changed();
}

}  // namespace vantor
