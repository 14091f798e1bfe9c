#include "integrator_peer.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "label_memory.h"

namespace rwsim {

namespace {

constexpr std::size_t kMaxText = 4000;

std::uint8_t bccOf(const std::string& text) {
  std::uint8_t bcc = 0;
  for (const char c : text) {
    bcc = static_cast<std::uint8_t>(bcc ^ static_cast<std::uint8_t>(c));
  }
  return bcc;
}

std::vector<std::string> tabFields(const std::string& text) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t tab = text.find('\t', start);
    fields.push_back(text.substr(start, tab - start));
    if (tab == std::string::npos) {
      return fields;
    }
    start = tab + 1;
  }
}

std::string threeDigits(int code) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%03d", code);
  return buf;
}

}  // namespace

Bytes frameIntegratorText(const std::string& text) {
  Bytes out;
  out.reserve(text.size() + 3);
  out.push_back(kStx);
  for (const char c : text) {
    out.push_back(static_cast<std::uint8_t>(c));
  }
  out.push_back(kEtx);
  out.push_back(bccOf(text));
  return out;
}

std::string printable(const std::string& text) {
  std::string out;
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 && b != '\t') {
      char buf[8];
      std::snprintf(buf, sizeof buf, "<%02X>", b);
      out += buf;
    } else if (b == '\t') {
      out += "\\t";
    } else {
      out += c;
    }
  }
  return out;
}

void IntegratorTextReader::append(const Bytes& bytes) {
  buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

std::optional<IntegratorTextReader::Message> IntegratorTextReader::next() {
  while (true) {
    const auto stx = std::find(buffer_.begin(), buffer_.end(), kStx);
    buffer_.erase(buffer_.begin(), stx);
    if (buffer_.empty()) {
      return std::nullopt;
    }
    const auto etx = std::find(buffer_.begin() + 1, buffer_.end(), kEtx);
    const auto restart = std::find(buffer_.begin() + 1, etx, kStx);
    if (restart != etx) {
      buffer_.erase(buffer_.begin(), restart);  // a new message began before this one ended
      continue;
    }
    if (etx == buffer_.end()) {
      if (buffer_.size() > kMaxText) {
        buffer_.clear();
      }
      return std::nullopt;
    }
    if (etx + 1 == buffer_.end()) {
      return std::nullopt;  // the BCC has not arrived yet
    }
    Message m;
    m.text.assign(buffer_.begin() + 1, etx);
    m.bccOk = *(etx + 1) == bccOf(m.text);
    buffer_.erase(buffer_.begin(), etx + 2);
    return m;
  }
}

Bytes IntegratorPeer::request(int code) {
  awaited_.push_back(code);
  if (awaited_.size() > 16) {
    awaited_.pop_front();
  }
  return frameIntegratorText(threeDigits(code));
}

int IntegratorPeer::nextCycleCode() {
  const int code = kIntegratorRequests[cycle_];
  cycle_ = (cycle_ + 1) % std::size(kIntegratorRequests);
  return code;
}

IntegratorPeer::Outcome IntegratorPeer::received(const IntegratorTextReader::Message& m) {
  Outcome out;
  const std::string shown = printable(m.text);
  if (!m.bccOk) {
    out.lines.push_back("integrator: bad BCC: " + shown);
    return out;
  }
  const int code = std::atoi(m.text.c_str());
  if (code < 500) {
    const auto it = std::find(awaited_.begin(), awaited_.end(), code);
    if (it == awaited_.end()) {
      out.lines.push_back("integrator: answer " + threeDigits(code) + " not asked: " + shown);
      return out;
    }
    awaited_.erase(it);
    const char mark = m.text.size() > 3 ? m.text[3] : '\0';
    const char* verdict = mark == kAck || mark == '\t' ? "answered"
                          : mark == kNak               ? "refused"
                                                       : "malformed";
    out.lines.push_back("integrator: request " + threeDigits(code) + " " + verdict + ": " + shown);
    return out;
  }
  const std::vector<std::string> f = tabFields(m.text);
  if (code == 554) {  // a user account: its password stays out of the log
    const bool taken = onUserAccount && onUserAccount(f);
    out.lines.push_back(std::string("integrator: received 554, user account ") +
                        (taken ? "stored" : "refused"));
    return out;
  }
  out.lines.push_back("integrator: received " + shown);
  auto field = [&f](std::size_t i) { return i < f.size() ? std::atoi(f[i].c_str()) : 0; };
  if (code == 543 && f.size() >= 3) {
    // "543\tPOS\tOFFSET\tDATA": the data is everything after the third tab.
    std::size_t at = 0;
    for (int tabs = 0; tabs < 3; ++tabs) {
      at = m.text.find('\t', at) + 1;
    }
    const Bytes data(m.text.begin() + static_cast<std::ptrdiff_t>(at), m.text.end());
    Bytes stored = data;
    if (data.size() < 500) {
      stored.push_back(0);  // the last chunk: the label ends here
    }
    labels_.storeChunk(static_cast<std::size_t>(field(1)), static_cast<std::size_t>(field(2)),
                       stored);
  } else if (code == 544) {
    const bool ok =
        labels_.close(static_cast<std::size_t>(field(1)), static_cast<std::uint8_t>(field(2)),
                      static_cast<std::uint8_t>(field(3)));
    out.replies.push_back(
        frameIntegratorText(std::string("544") + char(kAck) + (ok ? "1\t1" : "1\t2")));
    out.lines.push_back(std::string("integrator: label ") + (ok ? "accepted" : "checksum wrong"));
  } else if (code == 545) {
    for (std::size_t i = 1; i <= 7 && i + 1 < f.size(); ++i) {
      labels_.setRejectText(i, f[i + 1]);
    }
  }
  return out;
}

}  // namespace rwsim
