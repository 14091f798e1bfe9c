#pragma once

// The device's ten operator accounts: one 404-byte block of logins (10 slots
// of 6 bytes from offset 0), passwords (10 x 13 from 60) and names (10 x 21
// from 190), and four bytes of the device's own at 400.
//
//   38  read: the whole block
//   39  write: exactly 404 bytes replace the block (any other size: NAK)
// Integrator message 554 "1\tINDEX\tLOGIN\tPASSWORD\tNAME" replaces one account.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "sim_device.h"

namespace rwsim {

inline constexpr std::uint8_t kCmdReadUsers = 38;
inline constexpr std::uint8_t kCmdWriteUsers = 39;

class SimUserAccounts {
 public:
  static constexpr std::size_t kUsers = 10;
  static constexpr std::size_t kBlockSize = 404;

  // Six accounts set, four empty, and the device bytes 5A A5 01 00.
  SimUserAccounts();

  void install(SimDevice& device);

  // Replaces one account; texts are cut to 5, 12 and 20 characters.
  void setAccount(std::size_t user, const std::string& login, const std::string& password,
                  const std::string& name);
  // A message 554 split at its tabs (the code first); false when it is not one
  // account of the ten.
  bool takeMessage(const std::vector<std::string>& fields);

  std::string login(std::size_t user) const { return text(user * 6, 6); }
  std::string password(std::size_t user) const { return text(60 + user * 13, 13); }
  std::string name(std::size_t user) const { return text(190 + user * 21, 21); }
  const std::array<std::uint8_t, kBlockSize>& block() const { return block_; }

 private:
  std::string text(std::size_t offset, std::size_t width) const;
  void put(std::size_t offset, std::size_t width, const std::string& text);

  std::array<std::uint8_t, kBlockSize> block_{};
};

}  // namespace rwsim
