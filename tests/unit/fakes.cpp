#include "fakes.h"

#include <sstream>

namespace vantor::test {

Bytes replyFrame(int code, const Bytes& payload, uint16_t counter, uint8_t ack) {
  const size_t parNum = payload.size() + 1;
  Bytes f = {0x02, 0x00, 0x01, static_cast<uint8_t>(counter >> 8), static_cast<uint8_t>(counter),
             static_cast<uint8_t>(parNum >> 8), static_cast<uint8_t>(parNum), static_cast<uint8_t>(code), ack};
  f.insert(f.end(), payload.begin(), payload.end());
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

}  // namespace vantor::test
