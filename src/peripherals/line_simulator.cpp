#include "peripherals/line_simulator.h"

#include <algorithm>

#include "link/text_format.h"

namespace vantor {

std::optional<char> checkDigit(std::string_view code) {
  uint32_t sum = 0;
  uint32_t weight = 3;
  for (auto it = code.rbegin(); it != code.rend(); ++it) {
    if (*it < '0' || *it > '9') return std::nullopt;
    sum += static_cast<uint32_t>(*it - '0') * weight;
    weight = weight == 3 ? 1 : 3;
  }
  return static_cast<char>('0' + (10 - sum % 10) % 10);
}

LineSimulator::LineSimulator(Shell& shell, CommandChannel& channel, Connection& connection,
                             Integrator& integrator, Products& products, const bool& productsLoaded)
    : shell_(shell),
      channel_(channel),
      integrator_(integrator),
      products_(products),
      productsLoaded_(productsLoaded),
      tick_(connection.hooks.barSimTick, [this] { barSimTick(); }),
      chosen_(products.productChosen, [this](int n) { productChosen(n); }) {}

// Shared by both readers, so alternating presses number the items 1, 2, 3, ...
// It wraps from the largest value to the smallest, as a 32-bit counter does.
int32_t LineSimulator::nextSerial() {
  serial_ = static_cast<int32_t>(static_cast<uint32_t>(serial_) + 1u);
  return serial_;
}

void LineSimulator::SetBar0Click() {
  if (controls.seqSer) {
    const std::string digits = format("%020d", nextSerial());
    const size_t keep = static_cast<size_t>(std::clamp(controls.lenSer, 0, kMaxLenSer));
    std::string code = controls.edit1 + digits.substr(digits.size() - keep);
    controls.message.clear();
    if (controls.bccOn) {
      if (const std::optional<char> digit = checkDigit(code)) {
        code += *digit;
      } else {
        controls.message = "No check digit: the code has a character that is not a digit";
      }
    }
    controls.barCode0 = code;
  }
  readerIndex_ = 0;
  channel_.queueCmd(30);
  changed();
}

void LineSimulator::SetBar1Click() {
  if (controls.seqSer) controls.barCode1 = controls.edit1 + format("%d", nextSerial());
  readerIndex_ = 1;
  channel_.queueCmd(30);
  changed();
}

void LineSimulator::CheckBox1Click(bool checked) {
  controls.checkBox1 = checked;
  changed();
}

void LineSimulator::SeqSerClick(bool checked) {
  controls.seqSer = checked;
  if (checked) serial_ = 0;
  changed();
}

// Generated products take every free slot up to the device's capacity: the
// field names as texts, the defaults as integers, then a description, a code
// and the slot number of their own. They reach the device only when the user
// writes the products.
void LineSimulator::AutoFillClick() {
  if (!productsLoaded_) return;
  ProdStore& store = products_.store();
  const ProdStructure& s = store.structure();
  const size_t capacity = std::min(store.capacity(), ProdStore::kMaxProducts);
  for (size_t slot = store.count(); slot < capacity; ++slot) {
    for (size_t t = 0; t < s.textCount(); ++t)
      store.setTextField(slot, t, store.descriptor(s.intCount + t).name);
    for (size_t v = 0; v < s.intFieldCount(); ++v)
      store.setIntField(slot, v + 1, store.descriptor(v + 1).def);
    if (s.textCount() > 1) store.setTextField(slot, 1, format("Desc%zu", slot));
    if (s.textCount() > 0) store.setTextField(slot, 0, format("1010%03zu9", slot));
    store.record(slot).ints[8] = static_cast<uint32_t>(slot);
  }
  products_.extendTo(capacity);
}

void LineSimulator::buildRequest(int code, RequestWriter& out) {
  if (code == 19) {
    out.put16(static_cast<uint16_t>(std::clamp(controls.pesoSet, 0, kMaxPeso)));
    return;
  }
  if (code != 30) return;
  const bool second = controls.checkBox1 && readerIndex_ == 1;
  const std::string& text = second ? controls.barCode1 : controls.barCode0;
  if (controls.checkBox1) out.put8(readerIndex_);
  out.put8(0x02);
  for (char c : text) out.put8(static_cast<uint8_t>(c));
  out.put8(0x03);
}

void LineSimulator::productChosen(int n) {
  const ProdStore& store = products_.store();
  if (n < 0 || static_cast<size_t>(n) >= store.count()) return;
  const size_t p = static_cast<size_t>(n);
  const size_t texts = store.structure().textCount();
  controls.edit1 = texts > 0 ? store.textField(p, 0) : std::string();
  controls.edit3 = texts > 1 ? store.textField(p, 1) : std::string();
  changed();
}

void LineSimulator::barSimTick() {
  SetBar0Click();
  integrator_.queueMessage(kWakeUpMessage);
}

}  // namespace vantor
