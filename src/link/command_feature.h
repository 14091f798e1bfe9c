#pragma once
// A feature that owns commands of the catalogue: it writes their request
// parameters when a request is built and decodes the device's replies.
#include "link/bytes.h"
#include "link/tx_frame.h"

namespace vantor {

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
};

}  // namespace vantor
