#include "frame_codec.h"

#include <algorithm>
#include <stdexcept>

namespace rwsim {

namespace {

std::uint8_t highByte(std::size_t value) { return static_cast<std::uint8_t>((value >> 8) & 0xFF); }
std::uint8_t lowByte(std::size_t value) { return static_cast<std::uint8_t>(value & 0xFF); }

std::size_t parNumOf(std::span<const std::uint8_t> frame) {
  return (static_cast<std::size_t>(frame[5]) << 8) | frame[6];
}

}  // namespace

std::uint16_t frameChecksum(std::span<const std::uint8_t> frame) {
  std::uint32_t sum = 0;
  for (std::size_t i = 1; i + kTrailerSize < frame.size(); ++i) {
    sum += frame[i];
  }
  return static_cast<std::uint16_t>(sum & 0xFFFF);
}

Bytes encodeFrame(const Frame& frame) {
  if (frame.params.size() > kMaxParNum) {
    throw std::length_error("frame parameters exceed 65535 bytes");
  }
  const std::size_t parNum = frame.params.size();
  Bytes out;
  out.reserve(parNum + kFrameOverhead);
  out.push_back(kStx);
  out.push_back(kIds);
  out.push_back(kIdm);
  out.push_back(highByte(frame.counter));
  out.push_back(lowByte(frame.counter));
  out.push_back(highByte(parNum));
  out.push_back(lowByte(parNum));
  out.push_back(frame.command);
  out.insert(out.end(), frame.params.begin(), frame.params.end());
  out.push_back(0);
  out.push_back(0);
  out.push_back(kEtx);
  resealFrame(out);
  return out;
}

void resealFrame(Bytes& frame) {
  const std::uint16_t sum = frameChecksum(frame);
  frame[frame.size() - 3] = highByte(sum);
  frame[frame.size() - 2] = lowByte(sum);
}

bool checksumMatches(std::span<const std::uint8_t> frame) {
  const std::size_t n = frame.size();
  const auto stored = static_cast<std::uint16_t>((frame[n - 3] << 8) | frame[n - 2]);
  return stored == frameChecksum(frame);
}

void FrameReader::append(std::span<const std::uint8_t> bytes) {
  compact();
  buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

std::optional<Frame> FrameReader::next() {
  while (head_ < buffer_.size()) {
    const auto begin = buffer_.begin() + static_cast<std::ptrdiff_t>(head_);
    const auto stx = std::find(begin, buffer_.end(), kStx);
    drop(static_cast<std::size_t>(stx - begin));
    const std::span<const std::uint8_t> rest(buffer_.data() + head_, buffer_.size() - head_);
    if (rest.empty()) {
      return std::nullopt;
    }
    if ((rest.size() > 1 && rest[1] != kIds) || (rest.size() > 2 && rest[2] != kIdm)) {
      drop(1);
      continue;
    }
    if (rest.size() < kHeaderSize) {
      return std::nullopt;
    }
    const std::size_t total = parNumOf(rest) + kFrameOverhead;
    if (rest.size() < total) {
      return std::nullopt;
    }
    const auto candidate = rest.first(total);
    if (candidate[total - 1] != kEtx || !checksumMatches(candidate)) {
      drop(1);
      continue;
    }
    Frame frame;
    frame.counter = static_cast<std::uint16_t>((candidate[3] << 8) | candidate[4]);
    frame.command = candidate[kCommandOffset];
    frame.params.assign(candidate.begin() + kParamsOffset, candidate.end() - kTrailerSize);
    head_ += total;
    return frame;
  }
  return std::nullopt;
}

void FrameReader::drop(std::size_t count) {
  head_ += count;
  discarded_ += count;
}

void FrameReader::compact() {
  buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(head_));
  head_ = 0;
}

}  // namespace rwsim
