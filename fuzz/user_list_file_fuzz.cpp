// The user list file parser fed any bytes: it accepts exactly ten lines of
// three fields within their slots' lengths and without a zero byte, and leaves
// the accounts alone otherwise. A list kept by a snapshot (with or without
// passwords) reads back as it was written.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "config/user_list_file.h"

using namespace vantor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  UserAccounts accounts;
  accounts[0].login = "keep";
  std::string error;
  const bool ok = parseUserList(content, "fuzz", accounts, error);
  if (ok != error.empty()) std::abort();
  if (!ok && accounts[0].login != "keep") std::abort();
  if (ok) {
    for (const UserAccount& a : accounts) {
      if (a.login.size() > UserAccount::kLoginMax ||
          a.password.size() > UserAccount::kPasswordMax || a.name.size() > UserAccount::kNameMax)
        std::abort();
      for (const std::string* t : {&a.login, &a.password, &a.name})
        if (t->find_first_of(std::string("\0\t\n", 3)) != std::string::npos) std::abort();
    }
  }
  const std::optional<UserList> kept = parseUserListKept(content, "fuzz", error);
  if (kept) {
    const std::string text = userListText(kept->accounts, kept->passwords);
    const std::optional<UserList> again = parseUserListKept(text, "fuzz", error);
    // A list of empty logins and names kept without passwords reads as one with them.
    if (!again || !(again->accounts == kept->accounts)) std::abort();
  }
  return 0;
}
