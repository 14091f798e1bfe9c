#include "access/access_control.h"

namespace vantor {

namespace {
constexpr std::array<std::string_view, kMaxAccessLevel + 1> kNames = {
    "NO USER", "OPERATIONAL USER", "MAINTENANCE USER", "SERVICE USER", "$$$"};

std::string slotText(std::string_view code) {
  code = code.substr(0, code.find('\0'));
  return std::string(code.substr(0, AccessControl::kMaxCodeLength));
}
}  // namespace

std::string_view accessLevelName(uint8_t level) {
  return level <= kMaxAccessLevel ? kNames[level] : "";
}

AccessControl::AccessControl(Shell& shell) : shell_(shell) {
  codes_.fill(std::string(kBuiltInCode));
}

void AccessControl::setLevel(uint8_t level) { level_ = level <= kMaxAccessLevel ? level : 0; }

void AccessControl::apply() {
  shell_.setStatus(2, std::string(accessLevelName(level_)));
  shell_.changed(Area::Access);
}

std::string_view AccessControl::code(uint8_t level) const {
  if (level >= 1 && level <= 3) return codes_[level - 1];
  if (level == 4) return kLevel4Code;
  return {};
}

void AccessControl::setDeviceCodes(std::string_view level1, std::string_view level2,
                                   std::string_view level3) {
  codes_ = {slotText(level1), slotText(level2), slotText(level3)};
}

uint8_t AccessControl::levelFor(std::string_view password) const {
  uint8_t granted = 0;
  for (uint8_t level = 1; level <= kMaxAccessLevel; ++level) {
    const std::string_view c = code(level);
    if (!c.empty() && c == password) granted = level;
  }
  return granted;
}

bool AccessControl::FormDblClick() {
  if (level_ == 0) return true;
  level_ = 0;
  userChanged();
  return false;
}

void AccessControl::passwordDialogClosed(std::string_view password) {
  level_ = levelFor(password);
  userChanged();
}

void AccessControl::userChanged() {
  apply();
  if (afterUserChange) afterUserChange();
}

void AccessControl::mainDisconnected() {
  if (level_ >= kMaxAccessLevel) return;
  level_ = 0;
  apply();
}

}  // namespace vantor
