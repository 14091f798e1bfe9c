#pragma once

// What the tool's line simulator injects, as the device takes it:
//   19  a weight, unsigned 16-bit grams: the next box on the scale weighs it;
//   30  a barcode, as reader 0 or 1 read it: "index 02 text 03" from a line of
//       two readers, "02 text 03" from a line of one (reader 0). The code goes
//       into the barcode buffer (33) and the next status reply (51) carries a
//       flag for the reader in communication status byte 1 (bit 0 reader 0,
//       bit 1 reader 1); the flags clear once reported.
// A request of neither form is refused (NAK) and changes nothing.

#include <cstdint>
#include <optional>
#include <string>

#include "sim_device.h"

namespace rwsim {

inline constexpr std::uint8_t kCmdInjectWeight = 19;
inline constexpr std::uint8_t kCmdInjectBarcode = 30;

class SimDiagnosisMemory;

struct InjectedBarcode {
  std::uint8_t reader = 0;
  std::string text;
};

// The barcode of a command 30 request, or nothing for a malformed one.
std::optional<InjectedBarcode> parseInjectedBarcode(const Bytes& params);

class SimLineInjection {
 public:
  SimLineInjection(SimDevice& device, SimWeightTrace& trace, SimDiagnosisMemory& memory)
      : device_(device), trace_(trace), memory_(memory) {}

  // Registers the handlers of commands 19 and 30.
  void install(SimDevice& device);

  Answer injectWeight(const Frame& request);
  Answer injectBarcode(const Frame& request);

  // The barcode flags of the next status reply; reporting clears them.
  std::uint8_t takeBarcodeFlags();

 private:
  SimDevice& device_;
  SimWeightTrace& trace_;
  SimDiagnosisMemory& memory_;
  std::uint8_t barcodeFlags_ = 0;
};

}  // namespace rwsim
