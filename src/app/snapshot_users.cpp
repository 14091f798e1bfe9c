#include "app/snapshot_users.h"

#include "link/text_format.h"

namespace vantor {

bool UsersSnapshotPart::readComplete(int code) {
  if (code != UserLogins::kReadCode) return false;
  deviceAccounts_ = device_.userLogins.accounts();
  deviceRead(asBytes(userListText(deviceAccounts_, comparePasswords_)));
  return true;
}

bool UsersSnapshotPart::saveFile(const std::string& path, std::string& error) {
  for (size_t i = 0; i < kUserCount; ++i) {
    const UserAccount& a = deviceAccounts_[i];
    for (const std::string* text : {&a.login, &a.password, &a.name})
      if (text->find_first_of("\t\r\n") != std::string::npos) {
        error =
            format("user %zu holds a tab or a line end and cannot be kept in a user list", i + 1);
        return false;
      }
  }
  return writeFileText(path, userListText(deviceAccounts_, withPasswords_), error);
}

bool UsersSnapshotPart::takeFile(const std::string& path, ByteView bytes, std::string& error) {
  std::optional<UserList> list = parseUserListKept(asText(bytes), path, error);
  if (!list) return false;
  fileAccounts_ = list->accounts;
  // A list kept without passwords leaves the device's as they are.
  comparePasswords_ = list->passwords;
  if (!list->passwords) {
    for (size_t i = 0; i < kUserCount; ++i) fileAccounts_[i].password = deviceAccounts_[i].password;
    deviceRead(asBytes(userListText(deviceAccounts_, false)));
  }
  fileTaken(bytes);
  return true;
}

// Each account's fields as "user N login", "user N password" (compared, never
// shown) and "user N name", N counted from 1 as the grid shows it.
std::optional<NamedCells> UsersSnapshotPart::fileCells(ByteView bytes, std::string& error) const {
  const std::optional<UserList> list = parseUserListKept(asText(bytes), "the file", error);
  if (!list) return std::nullopt;
  NamedCells cells;
  for (size_t i = 0; i < kUserCount; ++i) {
    const UserAccount& a = list->accounts[i];
    cells.push_back({format("user %zu login", i + 1), quotedCell(a.login)});
    if (list->passwords) cells.push_back({format("user %zu password", i + 1), a.password, true});
    cells.push_back({format("user %zu name", i + 1), quotedCell(a.name)});
  }
  return cells;
}

void UsersSnapshotPart::startWrite() {
  device_.userLogins.setAccounts(fileAccounts_);
  device_.userLogins.writeAccounts();
}

bool UsersSnapshotPart::writeComplete(int code) {
  if (code == UserLogins::kWriteCode) {
    startRead();
    return false;
  }
  return readComplete(code);
}

}  // namespace vantor
