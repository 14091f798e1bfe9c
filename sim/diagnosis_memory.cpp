#include "diagnosis_memory.h"

#include <algorithm>
#include <array>
#include <random>
#include <string>

#include "le_bytes.h"

namespace rwsim {

namespace {

constexpr std::size_t kIdsOffset = 12;
constexpr std::size_t kTimesOffset = 100012;

void putLe32(Bytes& out, std::size_t offset, std::uint32_t value) {
  for (int k = 0; k < 4; ++k) out[offset + k] = static_cast<std::uint8_t>(value >> (8 * k));
}

// A day on the line: the controller starts, stamps the date, and then each
// pack is scanned, weighed and labelled, with the odd reject, key press and
// weighing-module warm-up between; now and then it restarts.
class DayOfEvents {
 public:
  DayOfEvents(Bytes& area, std::uint32_t limit) : area_(area), limit_(limit) {}

  void fill() {
    while (n_ < limit_) {
      if (n_ == 0 || random(4000) == 0) {
        reset();
      } else if (random(300) == 0) {
        add(7, 2000);  // "W UP"
      } else if (random(50) == 0) {
        const std::uint8_t key = static_cast<std::uint8_t>(random(16));
        add(static_cast<std::uint8_t>(32 + key), 3000);
        add(static_cast<std::uint8_t>(48 + key), 150);
      } else {
        pack();
      }
    }
  }
  std::uint32_t count() const { return n_; }

 private:
  void reset() {
    // The reset's own time is the base of what follows; a date stamp follows it.
    base_ += ms_ + 5000 + random(60000);
    ms_ = 0;
    put(0, base_);
    put(1, 10u | 12u << 8 | 2026u << 16);
  }
  void pack() {
    add(8, 400);                                         // sensor in
    add(static_cast<std::uint8_t>(2 + random(2)), 120);  // barcode 1 or 2
    add(6, 350);                                         // weighing
    add(12, 80);                                         // sensor out
    add(4, 60);                                          // print start
    add(5, 900);                                         // print end
    if (random(25) == 0) {
      add(16, 40);  // reject output
      add(24, 300);
    } else {
      add(18, 40);  // green light
      add(26, 200);
    }
  }
  std::uint32_t random(std::uint32_t below) { return static_cast<std::uint32_t>(rng_() % below); }
  void add(std::uint8_t id, std::uint32_t step) {
    ms_ += step / 2 + random(step + 1);
    put(id, ms_);
  }
  void put(std::uint8_t id, std::uint32_t word) {
    if (n_ >= limit_) return;
    area_[kIdsOffset + n_] = id;
    putLe32(area_, kTimesOffset + 4 * std::size_t{n_}, word);
    ++n_;
  }

  Bytes& area_;
  std::uint32_t limit_;
  std::mt19937 rng_{4000};
  std::uint32_t n_ = 0;
  std::uint32_t ms_ = 0;    // since the last reset
  std::uint32_t base_ = 0;  // the last reset's own time
};

std::uint32_t requestWord(const Frame& request, std::size_t offset) {
  return request.params.size() >= offset + 4 ? readLe32(request.params, offset) : 0;
}

}  // namespace

Bytes makeLogArea(std::uint32_t events) {
  Bytes area(kLogAreaBytes, 0);
  DayOfEvents day(area, std::min(events, kLogMaxEvents));
  day.fill();
  putLe32(area, 4, kLogBase + 12 + day.count());
  return area;
}

SimDiagnosisMemory::SimDiagnosisMemory(std::uint32_t logEvents)
    : log_(makeLogArea(logEvents)), codes_{"8712345678906", "5901234123457",
                                           "4006381333931", "0012345678905",
                                           "9780201379624", "7612345678900",
                                           "3045140105502", "8410076472885",
                                           "5000112637922", ""} {}

void SimDiagnosisMemory::install(SimDevice& device) {
  device.setHandler(69, [this](const Frame&) { return logBase(); });
  device.setHandler(21, [this](const Frame& r) { return logBlock(r); });
  device.setHandler(12, [this](const Frame& r) { return readRam(r); });
  device.setHandler(10, [this](const Frame& r) { return writeRam(r); });
  device.setHandler(17, [this](const Frame& r) { return readEeprom(r); });
  device.setHandler(18, [this](const Frame& r) { return writeEeprom(r); });
  device.setHandler(33, [this](const Frame&) { return barcodes(); });
}

Answer SimDiagnosisMemory::logBase() const {
  Answer a;
  appendLe32(a.payload, kLogBase);
  appendLe32(a.payload, kLogAreaBytes);
  return a;
}

Answer SimDiagnosisMemory::logBlock(const Frame& request) const {
  Answer a;
  a.payload.assign(1000, 0);
  const std::uint32_t address = requestWord(request, 0);
  for (std::size_t i = 0; i < 1000; ++i) {
    const std::uint64_t at = std::uint64_t{address} + i;
    if (at >= kLogBase && at < std::uint64_t{kLogBase} + log_.size())
      a.payload[i] = log_[at - kLogBase];
  }
  return a;
}

Answer SimDiagnosisMemory::readRam(const Frame& request) const {
  const auto it = ram_.find(requestWord(request, 0));
  Answer a;
  appendLe32(a.payload, it == ram_.end() ? 0 : it->second);
  return a;
}

Answer SimDiagnosisMemory::writeRam(const Frame& request) {
  if (request.params.size() < 8) return Answer{kNak, {}};
  ram_[requestWord(request, 0)] = requestWord(request, 4);
  return Answer{};
}

Answer SimDiagnosisMemory::readEeprom(const Frame& request) const {
  if (request.params.size() < 5) return Answer{kNak, {}};
  const std::uint32_t address = requestWord(request, 0);
  const std::uint8_t n = request.params[4];
  Answer a;
  const bool past = std::uint64_t{address} + n > kEepromBytes;
  a.payload.push_back(past ? 1 : 0);
  for (std::uint32_t i = 0; i < n; ++i) {
    const auto it = past ? eeprom_.end() : eeprom_.find(address + i);
    a.payload.push_back(it == eeprom_.end() ? 0xFF : it->second);
  }
  return a;
}

Answer SimDiagnosisMemory::writeEeprom(const Frame& request) {
  if (request.params.size() < 5) return Answer{kNak, {}};
  const std::uint32_t address = requestWord(request, 0);
  const std::uint8_t n = request.params[4];
  if (request.params.size() < 5u + n) return Answer{kNak, {}};
  if (std::uint64_t{address} + n > kEepromBytes) return Answer{kAck, {1}};
  for (std::uint32_t i = 0; i < n; ++i) eeprom_[address + i] = request.params[5 + i];
  return Answer{kAck, {0}};
}

Answer SimDiagnosisMemory::barcodes() const {
  Answer a;
  for (const std::string& code : codes_) appendText(a.payload, code, 64);
  return a;
}

void SimDiagnosisMemory::storeBarcode(std::string_view code) {
  codes_[nextCode_] = std::string(code.substr(0, 63));
  nextCode_ = (nextCode_ + 1) % codes_.size();
}

}  // namespace rwsim
