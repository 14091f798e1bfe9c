#include "fakes.h"

#include <sstream>

namespace vantor::test {

Bytes replyFrame(int code, const Bytes& payload, uint16_t counter, uint8_t ack) {
  const size_t parNum = payload.size() + 1;
  Bytes f;
  f.reserve(payload.size() + 12);
  for (size_t v :
       {size_t{0x02}, size_t{0x00}, size_t{0x01}, size_t{counter} >> 8, size_t{counter} & 0xFF,
        parNum >> 8, parNum & 0xFF, static_cast<size_t>(code), size_t{ack}})
    f.push_back(static_cast<uint8_t>(v));
  for (uint8_t b : payload) f.push_back(b);
  uint16_t sum = 0;
  for (size_t i = 1; i < f.size(); ++i) sum = static_cast<uint16_t>(sum + f[i]);
  f.push_back(static_cast<uint8_t>(sum >> 8));
  f.push_back(static_cast<uint8_t>(sum));
  f.push_back(0x03);
  return f;
}

Bytes hex(const std::string& text) {
  Bytes out;
  std::istringstream in(text);
  std::string word;
  while (in >> word) out.push_back(static_cast<uint8_t>(std::stoul(word, nullptr, 16)));
  return out;
}

Bytes requestParams(const Bytes& frame) {
  if (frame.size() < 11) return {};
  return Bytes(frame.begin() + 8, frame.end() - 3);
}

}  // namespace vantor::test
