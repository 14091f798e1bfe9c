#include "config/user_logins.h"

#include "link/text_format.h"

namespace vantor {

namespace {
using Field = UserBlock::Field;
using C = UserLoginsControls;

bool isUserRow(int row) { return row >= 1 && row <= static_cast<int>(kUserCount); }
}  // namespace

UserLoginsControls::UserLoginsControls() {
  grid[0][kLoginColumn] = "Login";
  grid[0][kPasswordColumn] = "Password";
  grid[0][kNameColumn] = "Nome";
}

UserLogins::UserLogins(Shell& shell, CommandChannel& channel) : shell_(shell), channel_(channel) {}

void UserLogins::setCell(int row, int column, std::string text) {
  if (!isUserRow(row) || column < C::kLoginColumn || column >= C::kColumns) return;
  controls.grid[static_cast<size_t>(row)][static_cast<size_t>(column)] = std::move(text);
  changed();
}

void UserLogins::LoginUserTabSelectCell(int row) {
  if (!isUserRow(row)) return;
  controls.lSelUser = format("%d", row);
  selectedUser_ = row - 1;
  changed();
}

void UserLogins::LoginUserTabClick(int column, const GridCellPlace& p) {
  PswSelOverlay& o = controls.pswSel;
  if (column == C::kPasswordColumn) {
    o.left = p.gridLeft + p.cellLeft + p.lineWidth + 1;
    o.top = p.gridTop + p.cellTop + p.lineWidth;
    o.width = p.cellWidth;
    o.height = p.cellHeight + 1;
    o.visible = true;
    o.text.clear();
  } else {
    o.visible = false;
  }
  changed();
}

void UserLogins::PswSelExit(const std::string& text, bool typed) {
  controls.pswSel.text = text;
  if (!typed) return;  // shown and left without typing: the password stays as it was
  const size_t user = static_cast<size_t>(selectedUser_);
  block_.setText(Field::Password, user, text);
  controls.grid[user + 1][C::kPasswordColumn] =
      controls.visSgn ? block_.text(Field::Password, user) : C::kTyped;
  changed();
}

void UserLogins::setAccounts(const UserAccounts& accounts) {
  for (size_t i = 0; i < kUserCount; ++i) {
    const UserAccount& a = accounts[i];
    block_.setText(Field::Login, i, a.login);
    block_.setText(Field::Password, i, a.password);
    block_.setText(Field::Name, i, a.name);
    auto& row = controls.grid[i + 1];
    row[C::kLoginColumn] = block_.text(Field::Login, i);
    row[C::kPasswordColumn] = controls.visSgn ? block_.text(Field::Password, i) : C::kTyped;
    row[C::kNameColumn] = block_.text(Field::Name, i);
  }
  changed();
}

void UserLogins::takeGridRow(size_t user) {
  const auto& row = controls.grid[user + 1];
  block_.setText(Field::Login, user, row[C::kLoginColumn]);
  block_.setText(Field::Name, user, row[C::kNameColumn]);
}

std::string UserLogins::selectedAccountMessage() {
  const size_t user = static_cast<size_t>(selectedUser_);
  takeGridRow(user);
  const UserAccount a = block_.account(user);
  return format("1\t%d\t%s\t%s\t%s", selectedUser_, a.login.c_str(), a.password.c_str(),
                a.name.c_str());
}

void UserLogins::buildRequest(int code, RequestWriter& out) {
  if (code != kWriteCode) return;
  // Passwords are never taken from the grid: their slots hold what the last
  // read or the overlay put there.
  for (size_t i = 0; i < kUserCount; ++i) takeGridRow(i);
  block_.write(out);
}

void UserLogins::handleReply(int code, PayloadReader& payload) {
  if (code != kReadCode) return;
  block_.read(payload);
  for (size_t i = 0; i < kUserCount; ++i) {
    auto& row = controls.grid[i + 1];
    row[0] = format("%zu", i + 1);
    row[C::kLoginColumn] = block_.text(Field::Login, i);
    row[C::kPasswordColumn] = controls.visSgn ? block_.text(Field::Password, i) : C::kHidden;
    row[C::kNameColumn] = block_.text(Field::Name, i);
  }
  controls.current = true;
  changed();
  onRead();
}

void UserLogins::requestEnded(int code, RequestEnd end) {
  if (code == kReadCode) onReadEnded(end);
}

void UserLogins::mainDisconnected() {
  if (!controls.current) return;
  controls.current = false;
  changed();
}

}  // namespace vantor
