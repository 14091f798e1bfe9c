#pragma once
// The floors a benchmark of the tool is measured against, in the same run and
// against the same simulator: request/reply exchanges with fixed requests and
// replies of known length, and no framing, queue or dispatch at all.
#include <QString>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "link/bytes.h"

namespace vantor::bench {

// One exchange: the request frame written, then this many reply bytes read.
struct Exchange {
  Bytes request;
  size_t replyBytes = 0;
};

// A minimal QTcpSocket client on an event loop (the platform floor). Returns
// the seconds the exchanges took, or a negative value on failure.
double platformFloor(const QString& host, uint16_t port, const std::vector<Exchange>& exchanges);

// A minimal blocking-socket client with TCP_NODELAY (the physical floor).
double physicalFloor(const QString& host, uint16_t port, const std::vector<Exchange>& exchanges);

// A request frame of the main port and its reply: the frame's 11 bytes, the
// result byte and `payload` bytes.
Exchange mainExchange(ByteView frame, size_t payload);

}  // namespace vantor::bench
