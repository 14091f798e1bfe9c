#pragma once
// The tool's own link (Device on the Qt seams) driving a chain of exchanges:
// each reply's handler queues the next request, as the tool's transfers do.
#include <QString>
#include <functional>

#include "app/device.h"

namespace vantor::bench {

// Connects a Device to HOST, waits until the connect exchange is over, then
// calls start(device) once and runs until done(device, code) returns true.
// Returns the seconds from start to done, or a negative value on failure.
double coreChain(const QString& host, const std::function<void(Device&)>& start,
                 const std::function<bool(Device&, int code)>& done);

}  // namespace vantor::bench
