#pragma once

// The device's side of the integrator text protocol (ports 49000 and 46000):
// STX, text, ETX, BCC (the XOR of the text bytes). The simulator has its own
// framing code so that it does not share a misreading with the tool.
//
// IntegratorPeer plays the device on 49000: it sends requests (codes below
// 500) and checks each answer's frame, BCC and code, with a verdict line; it
// takes the tool's own messages: 543 label chunks go into the label memory,
// 544 is answered with ACK "1\t1" (or "1\t2" when the checksum is wrong), 545
// sets the reject texts. Nothing here touches a socket.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "frame_codec.h"

namespace rwsim {

class SimLabelMemory;

Bytes frameIntegratorText(const std::string& text);

// Cuts STX .. ETX + BCC messages out of a byte stream; bytes outside a
// message are skipped; a text longer than 4000 bytes is dropped.
class IntegratorTextReader {
 public:
  struct Message {
    bool bccOk = false;
    std::string text;
  };
  void append(const Bytes& bytes);
  std::optional<Message> next();

 private:
  Bytes buffer_;
};

// The request codes the device sends, in the order it cycles through them.
inline constexpr int kIntegratorRequests[] = {41, 47, 84, 59, 71, 60, 63, 74, 80, 82, 12};

class IntegratorPeer {
 public:
  explicit IntegratorPeer(SimLabelMemory& labels) : labels_(labels) {}

  // The request message of `code`; remembered until its answer arrives.
  Bytes request(int code);
  // The next code of the cycle.
  int nextCycleCode();

  struct Outcome {
    std::vector<Bytes> replies;      // to write back
    std::vector<std::string> lines;  // for standard error
  };
  Outcome received(const IntegratorTextReader::Message& message);

  // Message 554, one user account, split at its tabs; false when it is not one.
  std::function<bool(const std::vector<std::string>& fields)> onUserAccount;

 private:
  SimLabelMemory& labels_;
  std::deque<int> awaited_;
  std::size_t cycle_ = 0;
};

// Printable form of a text: control bytes as <HH>.
std::string printable(const std::string& text);

}  // namespace rwsim
