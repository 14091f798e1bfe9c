#pragma once
// A user list file for `vantorctl users set`: the ten accounts in the grid's
// order, one a line, "login\tpassword\tname". Line ends CR LF or LF; a last
// line end is optional. A login has at most 5 characters, a password 12, a
// name 20, and no field holds a zero byte; a longer field is refused, not cut.
#include <optional>
#include <string>
#include <string_view>

#include "config/file_bytes.h"
#include "config/user_block.h"

namespace vantor {

inline constexpr FileLimit kUserListLimit{4 * 1024, "a user list file"};

// False with `error` set when the content is not ten such lines ("NAME has 9
// lines; ...", "NAME line 3: login of 8 characters; at most 5", one line of
// text per problem); `accounts` is then unchanged.
bool parseUserList(std::string_view content, const std::string& name, UserAccounts& accounts,
                   std::string& error);
// The file at `path`, refused unread when it is not a regular file of at most 4 KiB.
bool readUserList(const std::string& path, UserAccounts& accounts, std::string& error);

// A user list kept without its passwords: every line "login\tname".
struct UserList {
  UserAccounts accounts;
  bool passwords = true;  // false: the list holds none, the passwords are empty
};
// As parseUserList; a list whose every line has two fields is taken as one
// kept without passwords.
std::optional<UserList> parseUserListKept(std::string_view content, const std::string& name,
                                          std::string& error);
// The list as written, lines ending in CR LF; without passwords "login\tname".
std::string userListText(const UserAccounts& accounts, bool passwords);

}  // namespace vantor
