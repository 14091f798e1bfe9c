#pragma once
#include <memory>
#include <string>

#include "cli/ctl_session.h"
#include "config/user_block.h"

namespace CLI {
class App;
}

namespace vantor {

// `users show [--show-passwords] [--json]`: reads the device's ten user
// accounts (command 38) and prints them in the grid's order, "N\tlogin\tname"
// with N = 1 .. 10, or "N\tlogin\tpassword\tname" with --show-passwords; with
// --json one array of ten objects {"slot", "login", ["password",] "name"}.
// Passwords are printed only when asked for.
// `users set FILE`: loads a user list file before connecting (a field too long
// or a malformed line: kExitFile, nothing connected or written), reads the
// accounts once so that the block's device bytes go back as they are, writes
// the ten accounts (command 39) and reads them back; a read-back that differs
// from the file ends with kExitNoReply.
class UsersCommand final : public CtlCommand {
 public:
  struct Options {
    bool set = false;
    std::string path;  // set: the user list file
    bool showPasswords = false;
    bool json = false;
  };
  explicit UsersCommand(Options options) : o_(std::move(options)) {}

  // Adds `users show|set` to the command line; when it is given, `chosen` becomes this command.
  static void addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen);

  void prepare(CtlSession& session) override;
  void connected(CtlSession& session) override;
  void replied(CtlSession& session, int code, ByteView frame) override;

 private:
  void show(const UserAccounts& accounts) const;

  Options o_;
  UserAccounts wanted_;  // set: the file's accounts
  enum class Step { Read, Write, ReadBack } step_ = Step::Read;
};

}  // namespace vantor
