#pragma once

// The device memory a technician reaches from the "Deb" page:
//   - the event log area (69 base address, 21 one block of 1000 bytes) holding
//     a realistic day of events;
//   - RAM words (12 read, 10 write), a sparse map whose writes are kept;
//   - a 16 MB EEPROM (17 read, 18 write), sparse; status 0 on success, 1 when
//     the bytes reach past its end (nothing is read or written then);
//   - the 640-byte barcode buffer (33), ten slots of readable codes; codes
//     injected by command 30 fill the empty tenth slot first, then overwrite
//     the oldest, round the ten.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "sim_device.h"

namespace rwsim {

inline constexpr std::uint32_t kLogBase = 0x20100000;
inline constexpr std::uint32_t kLogAreaBytes = 501000;
inline constexpr std::uint32_t kLogMaxEvents = 100000;
inline constexpr std::uint32_t kEepromBytes = 16u << 20;

// The log area of `events` events (at most kLogMaxEvents), from kLogBase.
Bytes makeLogArea(std::uint32_t events);

class SimDiagnosisMemory {
 public:
  explicit SimDiagnosisMemory(std::uint32_t logEvents = 5000);

  // Registers the handlers of commands 69, 21, 12, 10, 17, 18 and 33.
  void install(SimDevice& device);

  Answer logBase() const;
  Answer logBlock(const Frame& request) const;
  Answer readRam(const Frame& request) const;
  Answer writeRam(const Frame& request);
  Answer readEeprom(const Frame& request) const;
  Answer writeEeprom(const Frame& request);
  Answer barcodes() const;
  // A code read on the line (cut to its 63-character slot).
  void storeBarcode(std::string_view code);

 private:
  Bytes log_;
  std::map<std::uint32_t, std::uint32_t> ram_;
  std::map<std::uint32_t, std::uint8_t> eeprom_;
  std::array<std::string, 10> codes_;
  std::size_t nextCode_ = 9;
};

}  // namespace rwsim
