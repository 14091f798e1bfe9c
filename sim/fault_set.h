#pragma once

// Misbehaviours the simulated device can be told to show, so the tool's
// handling of a bad line can be exercised. Several may be active at once.

#include <bitset>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "frame_codec.h"

namespace rwsim {

enum class FaultMode : std::size_t {
  Split,    // each reply written in three pieces, 20 ms apart
  Join,     // replies held back and written two at a time
  Corrupt,  // wrong checksum on every reply
  Nak,      // negative acknowledge on every reply
  Garbage,  // stray non-STX bytes before every reply
  Silent,   // requests read, never answered
  Drop,     // connection closed when the first request arrives
  Refuse,   // main port not listening
  Slow,     // every reply delayed by a set time
  Short,    // every reply cut to a bare ACK, without its payload

  // The side ports.
  SideSplit,      // every integrator message written in two pieces
  SideJoin,       // integrator messages held and written two at a time
  LabelChecksum,  // every label checksum check fails
  BootNak,        // the boot loader answers the 10th line of an upload with "1"
  // The boot loader drops the connection in the middle of an upload.
  BootDrop,
  Count
};

inline constexpr std::size_t kGarbageLength = 5;
inline constexpr std::size_t kSplitPieces = 3;
inline constexpr int kSplitPauseMs = 20;
inline constexpr int kJoinHoldMs = 300;
inline constexpr std::uint32_t kMaxSlowMs = 600000;

class FaultSet {
 public:
  // Turns on one mode given by name ("split", "slow:250", ...). Returns an
  // error text when the name is not a known mode or its value is bad.
  std::optional<std::string> add(std::string_view mode);
  void clear();

  bool has(FaultMode mode) const { return modes_.test(static_cast<std::size_t>(mode)); }
  bool empty() const { return modes_.none(); }
  std::uint32_t slowMs() const { return slowMs_; }

  // Active modes as they would be typed, e.g. "garbage slow:250".
  std::string describe() const;

  // Applies the byte-level modes (short, nak, corrupt, garbage) to a finished
  // reply frame and returns the bytes to put on the wire.
  Bytes shape(Bytes reply, std::mt19937& rng) const;

  // One line per mode, for the usage text.
  static std::string modeHelp();

 private:
  std::bitset<static_cast<std::size_t>(FaultMode::Count)> modes_;
  std::uint32_t slowMs_ = 0;
};

// Cuts bytes into `count` consecutive non-empty pieces of near-equal size
// (fewer when there are fewer bytes than pieces).
std::vector<Bytes> splitPieces(const Bytes& bytes, std::size_t count);

}  // namespace rwsim
