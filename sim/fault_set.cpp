#include "fault_set.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace rwsim {

namespace {

struct ModeName {
  FaultMode mode;
  std::string_view name;
  std::string_view help;
};

constexpr std::array<ModeName, static_cast<std::size_t>(FaultMode::Count)> kModeNames{{
    {FaultMode::Split, "split", "write every reply in 3 pieces, 20 ms apart"},
    {FaultMode::Join, "join",
     "hold each reply until a second one is ready (or 300 ms), write both at once"},
    {FaultMode::Corrupt, "corrupt", "send every reply with a wrong checksum"},
    {FaultMode::Nak, "nak", "send every reply with NAK (0x15) instead of ACK"},
    {FaultMode::Garbage, "garbage", "write 5 stray non-STX bytes before every reply"},
    {FaultMode::Silent, "silent", "read requests on the main port, never answer"},
    {FaultMode::Drop, "drop", "close a main-port connection when its first request arrives"},
    {FaultMode::Refuse, "refuse", "do not listen on the main port"},
    {FaultMode::Slow, "slow:MS", "delay every reply by MS milliseconds"},
    {FaultMode::Short, "short", "answer every request with a bare ACK, no payload"},
    {FaultMode::SideSplit, "side-split", "write every integrator message in two pieces"},
    {FaultMode::SideJoin, "side-join",
     "hold each integrator message until a second one (or 300 ms), write both at once"},
    {FaultMode::LabelChecksum, "label-checksum",
     "fail every label checksum check (41 answers 2, 544 answers 1\t2)"},
    {FaultMode::BootNak, "boot-nak", "boot loader: answer the 10th line of an upload with 1"},
    {FaultMode::BootDrop, "boot-drop",
     "boot loader: drop the connection at the 50th line of the first upload"},
}};

constexpr std::string_view kSlowPrefix = "slow:";

std::optional<std::uint32_t> parseMilliseconds(std::string_view text) {
  std::uint32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || value > kMaxSlowMs) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

std::optional<std::string> FaultSet::add(std::string_view mode) {
  if (mode.starts_with(kSlowPrefix)) {
    const auto ms = parseMilliseconds(mode.substr(kSlowPrefix.size()));
    if (!ms) {
      return "bad delay in '" + std::string(mode) + "': expected slow:MS with MS from 0 to " +
             std::to_string(kMaxSlowMs);
    }
    modes_.set(static_cast<std::size_t>(FaultMode::Slow));
    slowMs_ = *ms;
    return std::nullopt;
  }
  for (const ModeName& entry : kModeNames) {
    if (entry.mode != FaultMode::Slow && entry.name == mode) {
      modes_.set(static_cast<std::size_t>(entry.mode));
      return std::nullopt;
    }
  }
  return "unknown fault mode '" + std::string(mode) + "'";
}

void FaultSet::clear() {
  modes_.reset();
  slowMs_ = 0;
}

std::string FaultSet::describe() const {
  std::string text;
  for (const ModeName& entry : kModeNames) {
    if (!has(entry.mode)) {
      continue;
    }
    if (!text.empty()) {
      text += ' ';
    }
    text += entry.mode == FaultMode::Slow ? std::string(kSlowPrefix) + std::to_string(slowMs_)
                                          : std::string(entry.name);
  }
  return text.empty() ? "none" : text;
}

Bytes FaultSet::shape(Bytes reply, std::mt19937& rng) const {
  if (has(FaultMode::Short) && reply.size() > kFrameOverhead + 1) {
    // Header and acknowledge byte kept, ParNum 1, the payload dropped.
    Bytes bare(kFrameOverhead + 1, 0);
    std::copy_n(reply.begin(), kParamsOffset + 1, bare.begin());
    bare[5] = 0;  // PNH
    bare[6] = 1;  // PNL
    bare.back() = kEtx;
    resealFrame(bare);
    reply = std::move(bare);
  }
  if (has(FaultMode::Nak) && reply.size() > kFrameOverhead) {
    reply[kParamsOffset] = kNak;
    resealFrame(reply);
  }
  if (has(FaultMode::Corrupt) && reply.size() >= kFrameOverhead) {
    reply[reply.size() - 2] ^= 0xFF;
  }
  if (has(FaultMode::Garbage)) {
    // Any byte value but STX, so the stray bytes can never look like a frame start.
    std::uniform_int_distribution<int> pick(0, 254);
    Bytes noisy;
    noisy.reserve(kGarbageLength + reply.size());
    for (std::size_t i = 0; i < kGarbageLength; ++i) {
      const int value = pick(rng);
      noisy.push_back(static_cast<std::uint8_t>(value >= kStx ? value + 1 : value));
    }
    noisy.insert(noisy.end(), reply.begin(), reply.end());
    reply = std::move(noisy);
  }
  return reply;
}

std::string FaultSet::modeHelp() {
  std::string text;
  for (const ModeName& entry : kModeNames) {
    std::string name(entry.name);
    name.resize(10, ' ');
    text += "  " + name + std::string(entry.help) + "\n";
  }
  return text;
}

std::vector<Bytes> splitPieces(const Bytes& bytes, std::size_t count) {
  std::vector<Bytes> pieces;
  if (count == 0 || bytes.empty()) {
    return pieces;
  }
  const std::size_t n = std::min(count, bytes.size());
  std::size_t start = 0;
  for (std::size_t i = 1; i <= n; ++i) {
    const std::size_t end = bytes.size() * i / n;
    pieces.emplace_back(bytes.begin() + static_cast<std::ptrdiff_t>(start),
                        bytes.begin() + static_cast<std::ptrdiff_t>(end));
    start = end;
  }
  return pieces;
}

}  // namespace rwsim
