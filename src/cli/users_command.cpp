#include "cli/users_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "cli/json_output.h"
#include "config/user_list_file.h"
#include "link/text_format.h"

namespace vantor {

void UsersCommand::addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen) {
  CLI::App* users = app.add_subcommand("users", "The device's ten user accounts.");
  users->require_subcommand(1);

  CLI::App* show = users->add_subcommand(
      "show", "Print the ten accounts, one a line: \"N<TAB>login<TAB>name\", N = 1 .. 10.");
  auto showOptions = std::make_shared<Options>();
  show->add_flag("--show-passwords", showOptions->showPasswords,
                 "print the passwords too: \"N<TAB>login<TAB>password<TAB>name\"");
  show->add_flag("--json", showOptions->json,
                 "print one JSON array of ten objects {slot, login, name} (and password with "
                 "--show-passwords)");
  show->callback([&chosen, showOptions] { chosen = std::make_unique<UsersCommand>(*showOptions); });

  CLI::App* set = users->add_subcommand(
      "set",
      "Write the ten accounts of a file, \"login<TAB>password<TAB>name\" a line (login at most 5 "
      "characters, password 12, name 20), and read them back. A file that is refused writes "
      "nothing.");
  auto setOptions = std::make_shared<Options>();
  setOptions->set = true;
  set->add_option("FILE", setOptions->path, "the user list file")->required();
  set->callback([&chosen, setOptions] { chosen = std::make_unique<UsersCommand>(*setOptions); });
}

void UsersCommand::prepare(CtlSession& session) {
  if (!o_.set) return;
  std::string error;
  if (!readUserList(o_.path, wanted_, error))
    session.fail(kExitFile, error + "\nnothing written to the device");
}

void UsersCommand::connected(CtlSession& session) {
  session.progress("Reading the user accounts");
  session.device().userLogins.readAccounts();
}

void UsersCommand::replied(CtlSession& session, int code, ByteView) {
  UserLogins& logins = session.device().userLogins;
  if (code == UserLogins::kReadCode && !o_.set) {
    show(logins.accounts());
    session.finish(kExitOk);
  } else if (code == UserLogins::kReadCode && step_ == Step::Read) {
    step_ = Step::Write;
    session.progress("Writing the user accounts");
    logins.setAccounts(wanted_);
    logins.writeAccounts();
  } else if (code == UserLogins::kWriteCode && step_ == Step::Write) {
    step_ = Step::ReadBack;
    session.progress("Reading the user accounts back");
    logins.readAccounts();
  } else if (code == UserLogins::kReadCode && step_ == Step::ReadBack) {
    const UserAccounts back = logins.accounts();
    std::string differences;
    for (size_t i = 0; i < kUserCount; ++i)
      if (!(back[i] == wanted_[i])) differences += format(" %zu", i + 1);
    if (differences.empty())
      session.finish(kExitOk);
    else
      session.fail(kExitNoReply,
                   "the device kept other accounts than were written, in row(s)" + differences);
  }
}

void UsersCommand::show(const UserAccounts& accounts) const {
  if (o_.json) {
    nlohmann::ordered_json document = nlohmann::ordered_json::array();
    for (size_t i = 0; i < kUserCount; ++i) {
      nlohmann::ordered_json entry = nlohmann::ordered_json::object();
      entry["slot"] = i + 1;
      entry["login"] = accounts[i].login;
      if (o_.showPasswords) entry["password"] = accounts[i].password;
      entry["name"] = accounts[i].name;
      document.push_back(std::move(entry));
    }
    printJson(document);
    return;
  }
  for (size_t i = 0; i < kUserCount; ++i) {
    const UserAccount& a = accounts[i];
    if (o_.showPasswords)
      std::printf("%zu\t%s\t%s\t%s\n", i + 1, a.login.c_str(), a.password.c_str(), a.name.c_str());
    else
      std::printf("%zu\t%s\t%s\n", i + 1, a.login.c_str(), a.name.c_str());
  }
  std::fflush(stdout);
}

}  // namespace vantor
