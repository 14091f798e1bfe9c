#pragma once

// The simulated RW4000 itself: a request frame goes in, the reply frame comes
// out. No sockets and no timers here, so the device can be driven directly.

#include "frame_codec.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>

namespace rwsim {

inline constexpr std::uint8_t kCmdStatus = 51;
inline constexpr std::uint8_t kCmdVersion = 70;

// What a command handler answers: the ACK byte and the payload after it.
struct Answer {
    std::uint8_t ack = kAck;
    Bytes payload;
};

class SimDevice {
public:
    // Milliseconds since the device was switched on.
    using Clock = std::function<std::uint64_t()>;
    using Handler = std::function<Answer(const Frame& request)>;

    static Clock steadyClock();

    explicit SimDevice(Clock clock = steadyClock(), std::string versionText = " RW4000 SIM 8.10");

    // The complete reply frame to one request. Commands without a handler of
    // their own get a bare positive reply.
    Bytes reply(const Frame& request);

    // Adds or replaces the handler of one command code.
    void setHandler(std::uint8_t command, Handler handler);

    std::uint64_t uptimeMs() const { return clock_(); }
    const std::string& versionText() const { return versionText_; }

private:
    Answer versionAnswer() const;
    Answer statusAnswer() const;

    Clock clock_;
    std::string versionText_;
    std::map<std::uint8_t, Handler> handlers_;
    std::uint16_t counter_ = 0;
};

}  // namespace rwsim
