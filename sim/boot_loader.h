#pragma once

// The device's boot loader as seen on the main port: single-letter text
// requests and one short text reply each, "0" first for success. The device
// runs either its application (which knows only "F" and "B" of these) or the
// boot loader; switching restarts the device, which drops every connection on
// the main port for a while.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fault_set.h"

namespace rwsim {

inline constexpr const char* kApplicationVersion = "RW4000 APP 3.4";
inline constexpr const char* kBootVersion = "QX7 BOOT 2.1";
// After "B" the device answers, then restarts into the boot loader this much later.
inline constexpr int kBootRestartDelayMs = 300;
// A restart keeps the main port closed this long.
inline constexpr int kRestartDownMs = 500;
// With boot-nak this line of an upload is answered "1"; with boot-drop the
// connection is dropped when this line arrives (once per boot-mode start).
inline constexpr std::uint32_t kNakLine = 10;
inline constexpr std::uint32_t kDropLine = 50;

enum class BootMode { Application, Boot };

struct BootAnswer {
  std::optional<std::string> reply;  // nothing: no answer
  enum class Effect { None, RestartIntoBoot, RestartIntoApplication, DropConnection };
  Effect effect = Effect::None;
};

class BootLoader {
 public:
  BootAnswer handle(std::string_view request, std::int64_t nowMs, const FaultSet& faults);

  BootMode mode() const { return mode_; }
  void start(BootMode mode);

  std::uint32_t linesReceived() const { return lines_; }
  std::uint32_t badLines() const { return badLines_; }
  std::uint64_t charsReceived() const { return chars_; }
  // Images written completely and without a bad record since the start.
  std::uint32_t imagesWritten() const { return imagesWritten_; }

 private:
  // The status character: 0 idle, 1 started, 2 writing, 3 failed, 4 written.
  std::string status(std::int64_t nowMs);

  BootMode mode_ = BootMode::Application;
  bool receiving_ = false;
  std::uint32_t lines_ = 0;
  std::uint32_t badLines_ = 0;
  std::uint64_t chars_ = 0;
  bool dropped_ = false;  // boot-drop has dropped a connection since the boot loader started
  enum class Write { Idle, Started, Writing, Done } write_ = Write::Idle;
  std::int64_t writeDoneAtMs_ = 0;
  bool writeOk_ = false;
  std::uint32_t imagesWritten_ = 0;
};

// Whether a text line is an Intel HEX record with a right checksum.
bool intelHexChecksumOk(std::string_view line);

}  // namespace rwsim
