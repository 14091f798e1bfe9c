#pragma once

// The device's label memory: nine positions, each holding one label template
// and the label identifier it was closed with, plus the reject-label block.
//
//   40  chunk: position, 16-bit offset, bytes stored at that offset
//   41  close: position, identifier, checksum; answers 1, or 2 when the
//       checksum does not match what arrived (the position is then invalid)
//   42  validity table, 36 bytes, byte 4*r + c for position r:
//       c0 1 when valid, c1 identifier, c2/c3 length low/high
//   43/44 the 816-byte reject-label block (44 needs exactly 816 bytes)
// The same memory takes labels over the integrator link (messages 543/544).

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "sim_device.h"

namespace rwsim {

class SimLabelMemory {
 public:
  static constexpr std::size_t kPositions = 9;
  static constexpr std::size_t kMaxLabel = 65536;
  static constexpr std::size_t kRejectBlock = 816;

  SimLabelMemory();

  // Registers the handlers of commands 40 .. 44.
  void install(SimDevice& device);

  // When it returns true, every checksum check fails (fault mode label-checksum).
  std::function<bool()> failChecksum = [] { return false; };

  bool storeChunk(std::size_t position, std::size_t offset, const Bytes& bytes);
  // True when the checksum matches the stored label.
  bool close(std::size_t position, std::uint8_t identifier, std::uint8_t checksum);
  void setRejectText(std::size_t slot, const std::string& text);

  const Bytes& label(std::size_t position) const { return labels_.at(position).bytes; }
  const Bytes& rejectBlock() const { return reject_; }

 private:
  struct Slot {
    Bytes bytes;
    std::uint8_t identifier = 0;
    bool valid = false;
  };

  std::array<Slot, kPositions> labels_;
  Bytes reject_;
};

}  // namespace rwsim
