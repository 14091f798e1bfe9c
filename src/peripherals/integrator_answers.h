#pragma once
// The canned answers the tool gives, standing in for the plant's integrator,
// to the device's requests (message codes 0 .. 499) on the integrator link.
#include <cstdint>
#include <string>
#include <string_view>

namespace vantor {

inline constexpr int kFirstOwnMessageCode = 500;  // codes below are device requests
inline constexpr size_t kMaxAnswerText = 99;

// The counters of the answers; they live as long as the program and are never reset.
struct AnswerCounters {
  uint32_t sequence = 1;  // advanced by each answer to 47 and 84
  uint32_t product = 0;   // advanced by each answer to 60
};

// The message code at the start of a text: its leading decimal number (blanks
// and a sign allowed before it, as the C library reads it); 0 when there is none.
int32_t leadingNumber(std::string_view text);

// The answer text (without STX/ETX/BCC) to request `code`, at most 99
// characters. selReg 0 refuses with NAK. Advances the counters it uses.
std::string answerText(int32_t code, int selReg, AnswerCounters& counters);

}  // namespace vantor
