#include "peripherals/integrator_answers.h"

#include <cctype>

#include "link/text_format.h"
#include "peripherals/integrator_frame.h"

namespace vantor {

using integrator::kAck;
using integrator::kNak;

int32_t leadingNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int64_t value = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > INT32_MAX) value = INT32_MAX;  // saturates like the C library
  }
  return static_cast<int32_t>(negative ? -value : value);
}

std::string answerText(int32_t code, int selReg, AnswerCounters& c) {
  std::string text;
  if (selReg == 0) {
    text = format("%03d%c", code, kNak);
  } else {
    switch (code) {
      case 41:
        text = format("%03d%c1\t123\t17\t02\t1969\t23\tLT23\t2\tLOTE2LOONGOOO", code, kAck);
        break;
      case 47:
      case 84:
        text = format("%03d\t%d\t%u\t%u\t8", code, selReg, 100 * c.sequence, 100 * c.sequence + 2);
        ++c.sequence;
        break;
      case 59:
      case 71:
        text = format("%03d%cMsg from server", code, kAck);
        break;
      case 60:
        text = format(
            "%03d%c1\t%d\t3/99\t1234\tnome prodotto\t155\t145000\t150000\t12345678900987654%03u",
            code, kAck, selReg, c.product);
        ++c.product;
        break;
      case 63:
        text = format("%03d%c1\t123\t23\tLT23\t2\tLOTE2LOONGOOO", code, kAck);
        break;
      case 74:
        text = format("%03d%c1", code, kAck);
        break;
      case 80:
        text = format("%03d%c1\ttext\t320\t0\t1234\t80000000\t0\t0", code, kAck);
        break;
      case 82:
        text = format("%03d%c1\t1", code, kAck);
        break;
      default:
        text = format("%03d%c1\t%d\tblabla\tblabla\tblabla\tblabla\tblabla\tblabla\tblabla", code,
                      kAck, selReg);
        break;
    }
  }
  if (text.size() > kMaxAnswerText) text.resize(kMaxAnswerText);
  return text;
}

}  // namespace vantor
