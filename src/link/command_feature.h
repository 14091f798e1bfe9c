#pragma once
// A feature that owns commands of the catalogue: it writes their request
// parameters when a request is built and decodes the device's replies.
#include "link/bytes.h"
#include "link/tx_frame.h"

namespace vantor {

// How a request ended without the reply it asked for.
enum class RequestEnd {
  Refused,   // the device answered NAK or with code 0
  NoReply,   // silence, also after the request was sent once more
  BadReply,  // the reply failed its checks, also after the request was sent once more
};

// "refused", "no reply", "no good reply": for messages such as
// "Reading table 3 of 7 stopped: no reply to parameter 12".
const char* requestEndText(RequestEnd end);

// What a page's message line says of values read from a device that is no
// longer connected, until they are read again.
inline constexpr const char* kNotCurrentText = "not current: read again once connected";

class CommandFeature {
 public:
  virtual ~CommandFeature() = default;
  virtual void buildRequest(int code, RequestWriter& out) {
    (void)code;
    (void)out;
  }
  virtual void handleReply(int code, PayloadReader& payload) {
    (void)code;
    (void)payload;
  }
  // The request of `code` ended without its reply; a chain that waited for it
  // stops here and says so.
  virtual void requestEnded(int code, RequestEnd end) {
    (void)code;
    (void)end;
  }
};

}  // namespace vantor
