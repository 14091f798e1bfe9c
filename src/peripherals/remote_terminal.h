#pragma once
// The remote terminal of the "QX7" page: the display terminal's screen read
// back by command 3 into Memo4, and key presses of both terminals sent by
// command 4. A key of the display terminal disables KeyPanel until the screen
// has been read again (the key's reply asks for it), so one such key is in
// flight at a time; the keypad's keys (QX5_On checked) are sent without
// read-back.
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "link/command_channel.h"
#include "link/command_feature.h"
#include "link/shell.h"
#include "peripherals/terminal_display.h"
#include "peripherals/terminal_keys.h"

namespace vantor {

struct RemoteTerminalControls {
  std::vector<std::string> memo4;
  bool keyPanelEnabled = true;
  bool qx5On = false;
  // Memo4 shows the screen of the device connected now; false from the end of
  // the main link until the next read.
  bool displayCurrent = false;
};

class RemoteTerminal final : public CommandFeature {
 public:
  // Memo4 before the first read: the prompt to press "ReadDisplay".
  static const std::vector<std::string>& startText();

  RemoteTerminal(Shell& shell, CommandChannel& channel);

  const RemoteTerminalControls& controls() const { return controls_; }

  void Button4Click();  // "ReadDisplay"
  // A key of either keypad (Key_1Click .. Key_DwClick, QX5_F1Click ..
  // QX5_EntClick). A display terminal's key while KeyPanel is disabled does
  // nothing: its button is grey, and the keyboard keeps the same lock-step.
  // Returns whether the press was queued.
  bool keyClick(const TerminalKey& key);
  void QX5_OnClick(bool checked);

  void buildRequest(int code, RequestWriter& out) override;
  void handleReply(int code, PayloadReader& payload) override;
  void mainConnected();
  void mainDisconnected();

  // Key codes pressed and not yet sent, oldest first.
  const std::deque<uint8_t>& pendingKeys() const { return pending_; }

 private:
  Shell& shell_;
  CommandChannel& channel_;
  RemoteTerminalControls controls_;
  // Each press keeps its own code until its request is built, so presses
  // queued back to back each send their own key.
  std::deque<uint8_t> pending_;
};

}  // namespace vantor
