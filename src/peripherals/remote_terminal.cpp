#include "peripherals/remote_terminal.h"

namespace vantor {

const std::vector<std::string>& RemoteTerminal::startText() {
  static const std::vector<std::string> text{"Apertar ReadDisplay", "",
                                             "Para Sincronizar com display ", "do QX7"};
  return text;
}

RemoteTerminal::RemoteTerminal(Shell& shell, CommandChannel& channel)
    : shell_(shell), channel_(channel) {
  controls_.memo4 = startText();
}

void RemoteTerminal::Button4Click() { channel_.queueCmd(3); }

bool RemoteTerminal::keyClick(const TerminalKey& key) {
  if (key.pad == Keypad::Qx7) {
    if (!controls_.keyPanelEnabled) return false;
    controls_.keyPanelEnabled = false;
    shell_.changed(Area::Terminal);
  }
  pending_.push_back(key.code);
  channel_.queueCmd(4);
  return true;
}

void RemoteTerminal::QX5_OnClick(bool checked) {
  controls_.qx5On = checked;
  shell_.changed(Area::Terminal);
}

void RemoteTerminal::buildRequest(int code, RequestWriter& out) {
  if (code != 4) return;
  if (pending_.empty()) throw RequestRefused("Command 4: no key press to send");
  out.put8(pending_.front());
  pending_.pop_front();
}

void RemoteTerminal::handleReply(int code, PayloadReader& payload) {
  if (code == 4) {
    if (!controls_.qx5On) channel_.queueCmd(3);
    return;
  }
  if (code != 3) return;
  const DisplayLines lines = decodeDisplay(payload);
  controls_.memo4.assign(lines.begin(), lines.end());
  controls_.keyPanelEnabled = true;
  controls_.displayCurrent = true;
  shell_.changed(Area::Terminal);
}

// The connect empties the command queue: presses that were waiting in it are gone.
void RemoteTerminal::mainConnected() { pending_.clear(); }

void RemoteTerminal::mainDisconnected() {
  pending_.clear();
  controls_.displayCurrent = false;
  shell_.changed(Area::Terminal);
}

}  // namespace vantor
