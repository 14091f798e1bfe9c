#pragma once
// UserLogins: the "Login" page. "Get All" reads the device's ten accounts
// (command 38) into UserBlock and shows them in LoginUserTab; logins and names
// are edited in the grid, passwords only through the PswSel overlay; "Set All"
// writes the block (command 39), taking logins and names from the grid when
// the request is built; "Set Sel User" sends the selected account to the
// integrator as message 554.
//
// Passwords leave the tool only to the device: the traffic logs leave out the
// payloads of 38 and 39, and Memo10 shows message 554 without its body.
//
// The page binds LoginUserTab to controls.grid (row 0 the headers, column 0
// the row numbers) and PswSel to controls.pswSel, and repaints on
// Area::UserLogins.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "config/user_block.h"
#include "link/command_channel.h"
#include "link/command_feature.h"
#include "link/shell.h"
#include "link/signal.h"

namespace vantor {

// Where PswSel lies over the grid's cell and whether it is shown.
struct PswSelOverlay {
  bool visible = false;
  int left = 0, top = 0, width = 0, height = 0;
  std::string text;  // what the edit holds
};

// A cell of LoginUserTab as the window lays it out, in the coordinates of the
// grid's parent (gridLeft, gridTop) and of the grid (cellLeft, cellTop).
struct GridCellPlace {
  int gridLeft = 0, gridTop = 0;
  int cellLeft = 0, cellTop = 0, cellWidth = 0, cellHeight = 0;
  int lineWidth = 1;
};

struct UserLoginsControls {
  static constexpr int kRows = 11, kColumns = 4;
  static constexpr int kLoginColumn = 1, kPasswordColumn = 2, kNameColumn = 3;
  static constexpr const char* kHidden = "++++";    // a password read from the device
  static constexpr const char* kTyped = "*******";  // a password typed in PswSel
  UserLoginsControls();

  std::array<std::array<std::string, kColumns>, kRows> grid;
  std::string lSelUser;  // the number of the selected row
  bool visSgn = false;   // passwords shown in clear at the next read or entry
  PswSelOverlay pswSel;
  // The grid shows what the device connected now sent; false from the end of
  // the main link until read again.
  bool current = false;
};

class UserLogins final : public CommandFeature {
 public:
  static constexpr int kReadCode = 38, kWriteCode = 39, kMessageCode = 554;
  static constexpr const char* kMessageShown = "(user account, not shown)";

  UserLogins(Shell& shell, CommandChannel& channel);

  // Appends an integrator message code to IntegratorQueue (bound by the owner).
  std::function<void(int32_t code)> queueMessage;

  UserLoginsControls controls;

  // Buttons.
  void GetLoginClick() { readAccounts(); }
  void SetLoginClick() { channel_.queueCmd(kWriteCode); }
  void SetSelLogClick() {
    if (queueMessage) queueMessage(kMessageCode);
  }
  // The grid: a cell edit ends (the password column keeps no edit that counts),
  // a cell is selected, the grid is clicked with this cell current.
  void setCell(int row, int column, std::string text);
  void LoginUserTabSelectCell(int row);
  void LoginUserTabClick(int column, const GridCellPlace& place);
  // PswSel loses the focus with this text; typed: the user changed its text
  // since it was shown (an overlay left untouched keeps the password).
  void PswSelExit(const std::string& text, bool typed);
  void VisSgnClick(bool checked) { controls.visSgn = checked; }

  int selectedUser() const { return selectedUser_; }
  const UserBlock& block() const { return block_; }

  // For operations that run without the page (a snapshot, the command line):
  // queues command 38; onRead tells when its reply has been taken in, a failed
  // request ends as requestEnded(38, ...) and onReadEnded.
  void readAccounts() { channel_.queueCmd(kReadCode); }
  Signal<> onRead;
  Signal<RequestEnd> onReadEnded;
  // Puts the ten accounts into the grid and the block (each text cut to its
  // slot); writeAccounts() then sends them as "Set All" does.
  void setAccounts(const UserAccounts& accounts);
  void writeAccounts() { SetLoginClick(); }
  // The ten accounts as the block holds them now.
  UserAccounts accounts() const { return block_.accounts(); }

  // The body of message 554, "1\t%d\t%s\t%s\t%s", built when it is sent: the
  // selected user's index from 0, login, password and name, the login and the
  // name refreshed from the grid first.
  std::string selectedAccountMessage();

  void buildRequest(int code, RequestWriter& out) override;
  void handleReply(int code, PayloadReader& payload) override;
  void requestEnded(int code, RequestEnd end) override;
  void mainDisconnected();

 private:
  // Logins and names of the grid's row of `user` into the block, cut to fit.
  void takeGridRow(size_t user);
  void changed() { shell_.changed(Area::UserLogins); }

  Shell& shell_;
  CommandChannel& channel_;
  UserBlock block_;
  int selectedUser_ = 0;
};

}  // namespace vantor
