#pragma once
// UserBlock: the device's ten operator accounts as the 404 bytes that
// commands 38 (read) and 39 (write) carry. Logins, passwords and names sit in
// zero-terminated text slots of 6, 13 and 21 bytes; the last 4 bytes are the
// device's own and go back as they were received.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "link/bytes.h"
#include "link/tx_frame.h"

namespace vantor {

inline constexpr size_t kUserCount = 10;
inline constexpr size_t kUserBlockSize = 404;

// One account: each text at most its slot's width less the terminating zero.
struct UserAccount {
  static constexpr size_t kLoginMax = 5;
  static constexpr size_t kPasswordMax = 12;
  static constexpr size_t kNameMax = 20;
  std::string login;
  std::string password;
  std::string name;
  bool operator==(const UserAccount&) const = default;
};

using UserAccounts = std::array<UserAccount, kUserCount>;

class UserBlock {
 public:
  enum class Field { Login, Password, Name };

  // A text slot: where it starts, its width, the longest text it keeps.
  struct Slot {
    size_t offset;
    size_t width;
    size_t maxChars;
  };
  static Slot slot(Field field, size_t user);

  // Reply 38: the block as the device sent it. Bytes that did not arrive read
  // as zero (their texts as empty) and the reader reports the reply as short.
  void read(PayloadReader& payload);
  // Command 39: the whole block.
  void write(RequestWriter& out) const;

  // The slot's text, up to its first zero byte (at most its width).
  std::string text(Field field, size_t user) const;
  // Fills the slot with the text cut to the slot's longest text and zeros
  // after it; the other slots are not touched.
  void setText(Field field, size_t user, std::string_view text);

  UserAccount account(size_t user) const;
  UserAccounts accounts() const;

  const std::array<uint8_t, kUserBlockSize>& bytes() const { return bytes_; }

 private:
  std::array<uint8_t, kUserBlockSize> bytes_{};
};

}  // namespace vantor
