#include "config/user_block.h"

#include <algorithm>
#include <stdexcept>

namespace vantor {

namespace {
constexpr size_t kLoginsAt = 0, kLoginWidth = 6;
constexpr size_t kPasswordsAt = 60, kPasswordWidth = 13;
constexpr size_t kNamesAt = 190, kNameWidth = 21;
}  // namespace

UserBlock::Slot UserBlock::slot(Field field, size_t user) {
  if (user >= kUserCount) throw std::out_of_range("no such user");
  switch (field) {
    case Field::Login:
      return {kLoginsAt + user * kLoginWidth, kLoginWidth, UserAccount::kLoginMax};
    case Field::Password:
      return {kPasswordsAt + user * kPasswordWidth, kPasswordWidth, UserAccount::kPasswordMax};
    case Field::Name:
      break;
  }
  return {kNamesAt + user * kNameWidth, kNameWidth, UserAccount::kNameMax};
}

void UserBlock::read(PayloadReader& payload) {
  for (size_t i = 0; i < kUserBlockSize; ++i) bytes_[i] = payload.u8(i);
}

void UserBlock::write(RequestWriter& out) const { out.putBytes(bytes_); }

std::string UserBlock::text(Field field, size_t user) const {
  const Slot s = slot(field, user);
  const auto begin = bytes_.begin() + static_cast<std::ptrdiff_t>(s.offset);
  const auto end = std::find(begin, begin + static_cast<std::ptrdiff_t>(s.width), uint8_t{0});
  return std::string(begin, end);
}

void UserBlock::setText(Field field, size_t user, std::string_view text) {
  const Slot s = slot(field, user);
  const std::string_view kept = text.substr(0, std::min(text.size(), s.maxChars));
  std::fill_n(bytes_.begin() + static_cast<std::ptrdiff_t>(s.offset), s.width, uint8_t{0});
  std::copy(kept.begin(), kept.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(s.offset));
}

UserAccount UserBlock::account(size_t user) const {
  return {text(Field::Login, user), text(Field::Password, user), text(Field::Name, user)};
}

UserAccounts UserBlock::accounts() const {
  UserAccounts all;
  for (size_t i = 0; i < kUserCount; ++i) all[i] = account(i);
  return all;
}

}  // namespace vantor
