#include "table_device.h"

namespace vantor::test {

void putLe32(Bytes& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void putText(Bytes& out, const std::string& text, size_t width) {
  for (size_t i = 0; i < width; ++i)
    out.push_back(i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
}

Bytes TableDevice::tableList() const {
  Bytes p = {nameWidth, helpWidth,
             static_cast<uint8_t>(announcedTables == 0xFF ? tables.size() : announcedTables),
             codeWidth};
  for (size_t i = 0; i < 3; ++i) putText(p, i < codes.size() ? codes[i] : "", codeWidth);
  for (const FakeTable& t : tables) {
    putText(p, t.name, 30);
    p.push_back(
        static_cast<uint8_t>(t.announcedCount == 0xFF ? t.params.size() : t.announcedCount));
    p.push_back(t.level);
  }
  return p;
}

Bytes TableDevice::descriptor(size_t t, size_t r) const {
  const bool exists = t < tables.size() && r < tables[t].params.size();
  const FakePar par =
      exists ? tables[t].params[r] : FakePar{"", "", "", 0, 0, 0, 0};  // all zero past the end
  Bytes p;
  putText(p, par.name, nameWidth);
  putText(p, par.help, helpWidth);
  putText(p, par.unit, 3);
  putLe32(p, par.min);
  putLe32(p, par.max);
  putLe32(p, par.def);
  putLe32(p, par.value);
  return p;
}

void TableDevice::serve(FakeSocket& lan2, size_t limit) {
  for (size_t answered = 0; answered < limit && !lan2.writes.empty(); ++answered) {
    const Bytes request = lan2.takeWrite();
    const int code = request.at(7);
    const Bytes params(request.begin() + 8, request.end() - 3);
    requests.emplace_back(code, params);
    Bytes payload;
    if (code == 62) payload = tableList();
    if (code == 64) payload = descriptor(params.at(0), params.at(1));
    if (code == 63) {
      FakeTable& t = tables.at(params.at(0));
      for (size_t r = 0; r < t.params.size() && 1 + 4 * r + 3 < params.size(); ++r) {
        const size_t at = 1 + 4 * r;
        t.params[r].value =
            static_cast<uint32_t>(params[at] | params[at + 1] << 8 | params[at + 2] << 16 |
                                  static_cast<uint32_t>(params[at + 3]) << 24);
      }
    }
    lan2.receive(replyFrame(code, payload));
  }
}

std::vector<std::pair<int, int>> TableDevice::descriptorRequests() const {
  std::vector<std::pair<int, int>> out;
  for (const auto& [code, params] : requests)
    if (code == 64) out.emplace_back(params.at(0), params.at(1));
  return out;
}

std::vector<int> TableDevice::tableWrites() const {
  std::vector<int> out;
  for (const auto& [code, params] : requests)
    if (code == 63) out.push_back(params.at(0));
  return out;
}

std::vector<int> TableDevice::requestCodes() const {
  std::vector<int> out;
  for (const auto& r : requests) out.push_back(r.first);
  return out;
}

}  // namespace vantor::test
