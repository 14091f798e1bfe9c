// A whole Device on fake sockets and timers, driven by a script read from the
// input: reply streams (arbitrary bytes, and well-formed frames of any code with
// any payload so that every handler is reached), clock steps with poll ticks,
// link errors, reconnects and the users' clicks. Whatever the device sends, no
// handler may read out of bounds, throw into the event loop or leave the
// queue over its limit.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/device.h"
#include "fakes.h"

using namespace vantor;
using namespace vantor::test;

namespace {

class Script {
 public:
  Script(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool done() const { return at_ >= size_; }
  uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
  ByteView take(size_t n) {
    n = std::min(n, size_ - at_);
    const ByteView out(data_ + at_, n);
    at_ += n;
    return out;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

struct Rig {
  FakeSeams seams;
  Device device{seams};
  FakeSocket& lan2() { return *seams.sockets.at(0); }
  FakeTimer& relTim() { return *seams.timers.at(0); }
  FakeTimer& cmdTime() { return *seams.timers.at(1); }
  FakeTimer& reconnect() { return *seams.timers.at(2); }

  Rig() {
    device.shell.onAlert.connect([](const std::string&) {});
    device.connection.controls.host = "127.0.0.1";
    device.connection.LanOnClick();
    lan2().connect();
  }

  void click(uint8_t which, uint8_t arg) {
    ParTables& tables = device.parTables;
    ConfigBlocks& blocks = device.configBlocks;
    const auto block = static_cast<BlockId>(arg % kBlockCount);
    switch (which % 12) {
      case 0:
        tables.GetAllParClick();
        break;
      case 1:
        tables.ListTabsChange(arg % 12 - 1);
        tables.GetTabClick();
        break;
      case 2:
        tables.GridParTabsSelectCell(arg % 52 - 1);
        break;
      case 3:
        if (!tables.controls.gridParTabs.empty())
          tables.controls.gridParTabs[arg % tables.controls.gridParTabs.size()].value =
              std::to_string(arg * 977u);
        tables.SaveParClick();
        break;
      case 4:
        tables.SaveDefClick();
        break;
      case 5:
        tables.SaveAllDefClick();
        break;
      case 6:
        blocks.GetClick(block);
        break;
      case 7:
        blocks.SetClick(block);
        break;
      case 8:
        blocks.SetAllParClick();
        break;
      case 9:
        device.connection.SelAutoClick(static_cast<PollMode>(arg % 4));
        break;
      case 10:
        device.access.setDeviceCodes("a", "b", "c");
        device.access.FormDblClick();
        device.access.passwordDialogClosed(arg & 1 ? "b" : "zz");
        break;
      default:
        device.pesoCounters.GetPesoOnClick();
        break;
    }
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Rig rig;
  Script s(data, size);
  while (!s.done()) {
    const uint8_t op = s.byte();
    switch (op % 8) {
      case 0: {  // raw bytes from the device
        const ByteView bytes = s.take(s.byte());
        if (rig.lan2().connected() && !bytes.empty())
          rig.lan2().receive(Bytes(bytes.begin(), bytes.end()));
        break;
      }
      case 1:
      case 2: {  // a well-formed reply of any code
        const uint8_t code = s.byte();
        const size_t len = static_cast<size_t>(s.byte()) * (op & 0x80 ? 4 : 1);
        const ByteView payload = s.take(len);
        if (rig.lan2().connected())
          rig.lan2().receive(replyFrame(code, Bytes(payload.begin(), payload.end())));
        break;
      }
      case 3:  // time passes; the poll tick and the indicator timer run
        rig.seams.clockImpl.nowMs += s.byte() * 10;
        rig.relTim().fire();
        rig.cmdTime().fire();
        break;
      case 4: {
        const uint8_t which = s.byte(), arg = s.byte();
        try {
          rig.click(which, arg);
        } catch (const std::exception&) {
          // A click may raise the standard error message (a cell that is no
          // number); that ends the click, as it does in the window.
        }
        break;
      }
      case 5:  // the link fails or the device closes it
        if (rig.lan2().connected()) op & 0x80 ? rig.lan2().closeByPeer() : rig.lan2().fail();
        break;
      case 6:  // the reconnect fires and the device accepts
        rig.reconnect().fire();
        if (rig.lan2().state == FakeSocket::State::Opening) rig.lan2().connect();
        break;
      default:
        rig.lan2().writes.clear();
        break;
    }
    if (rig.device.channel.queue().size() > 100) std::abort();
  }
  return 0;
}
