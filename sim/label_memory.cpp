#include "label_memory.h"

#include <algorithm>

namespace rwsim {

namespace {

// The sum, modulo 256, of the bytes up to the first zero, over at most 10000 bytes.
std::uint8_t labelChecksum(const Bytes& bytes) {
  std::uint8_t sum = 0;
  for (std::size_t i = 0; i < bytes.size() && i < 10000 && bytes[i] != 0; ++i) {
    sum = static_cast<std::uint8_t>(sum + bytes[i]);
  }
  return sum;
}

}  // namespace

SimLabelMemory::SimLabelMemory() : reject_(kRejectBlock, 0) {
  const char* const texts[] = {"PESO ACIMA",  "PESO ABAIXO", "SEM LEITURA", "NAO CADASTRADO",
                               "JA APONTADO", "SEM PESO",    "CAIXA PARADA"};
  for (std::size_t i = 1; i <= 7; ++i) {
    setRejectText(i, texts[i - 1]);
    reject_[800 + 2 * i] = static_cast<std::uint8_t>(i);
  }
}

bool SimLabelMemory::storeChunk(std::size_t position, std::size_t offset, const Bytes& bytes) {
  if (position >= kPositions || offset + bytes.size() > kMaxLabel + 1000) {
    return false;
  }
  Slot& slot = labels_[position];
  if (offset == 0) {
    slot.bytes.clear();
  }
  slot.valid = false;
  if (slot.bytes.size() < offset + bytes.size()) {
    slot.bytes.resize(offset + bytes.size(), 0);
  }
  std::copy(bytes.begin(), bytes.end(), slot.bytes.begin() + static_cast<std::ptrdiff_t>(offset));
  return true;
}

bool SimLabelMemory::close(std::size_t position, std::uint8_t identifier, std::uint8_t checksum) {
  if (position >= kPositions) {
    return false;
  }
  Slot& slot = labels_[position];
  slot.valid = !failChecksum() && labelChecksum(slot.bytes) == checksum;
  slot.identifier = slot.valid ? identifier : 0;
  return slot.valid;
}

void SimLabelMemory::setRejectText(std::size_t slot, const std::string& text) {
  auto begin = reject_.begin() + static_cast<std::ptrdiff_t>(100 * slot);
  std::fill(begin, begin + 100, std::uint8_t{0});
  std::copy_n(text.begin(), std::min<std::size_t>(text.size(), 99), begin);
}

void SimLabelMemory::install(SimDevice& device) {
  device.setHandler(40, [this](const Frame& r) {
    if (r.params.size() < 3) {
      return Answer{kNak, {}};
    }
    const std::size_t offset = r.params[1] | r.params[2] << 8;
    const Bytes chunk(r.params.begin() + 3, r.params.end());
    return Answer{storeChunk(r.params[0], offset, chunk) ? kAck : kNak, {}};
  });
  device.setHandler(41, [this](const Frame& r) {
    if (r.params.size() < 3) {
      return Answer{kNak, {}};
    }
    return Answer{
        kAck, {static_cast<std::uint8_t>(close(r.params[0], r.params[1], r.params[2]) ? 1 : 2)}};
  });
  device.setHandler(42, [this](const Frame&) {
    Bytes table(36, 0);
    for (std::size_t p = 0; p < kPositions; ++p) {
      const Slot& s = labels_[p];
      const std::size_t length = s.valid ? s.bytes.size() : 0;
      table[4 * p] = s.valid ? 1 : 0;
      table[4 * p + 1] = s.identifier;
      table[4 * p + 2] = static_cast<std::uint8_t>(length);
      table[4 * p + 3] = static_cast<std::uint8_t>(length >> 8);
    }
    return Answer{kAck, table};
  });
  device.setHandler(43, [this](const Frame&) { return Answer{kAck, reject_}; });
  device.setHandler(44, [this](const Frame& r) {
    if (r.params.size() != kRejectBlock) {
      return Answer{kNak, {}};
    }
    reject_ = r.params;
    return Answer{kAck, {}};
  });
}

}  // namespace rwsim
