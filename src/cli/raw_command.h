#pragma once
#include <optional>
#include <string>
#include <vector>

#include "cli/ctl_session.h"

namespace vantor {

// `raw CODE [HEX...]`: one request with the given parameter bytes through the
// command queue; prints the reply frame in hex.
class RawCommand final : public CtlCommand {
 public:
  // Parses "CODE" (decimal 0..255) and the hex parameter bytes; nullopt with
  // an error text on bad words.
  static std::optional<RawCommand> parse(const std::vector<std::string>& words, std::string& error);

  void connected(CtlSession& session) override;
  void replied(CtlSession& session, int code, ByteView frame) override;

 private:
  int code_ = 0;
  Bytes params_;
  bool sent_ = false;
};

}  // namespace vantor
