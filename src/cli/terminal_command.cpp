#include "cli/terminal_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "link/text_format.h"

namespace vantor {

namespace {

std::string keyNames(Keypad pad) {
  std::string names;
  for (const TerminalKey& k : pad == Keypad::Qx7 ? qx7Keys() : qx5Keys())
    names += (names.empty() ? "" : " ") + std::string(k.caption);
  return names;
}

}  // namespace

void TerminalCommand::addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen) {
  CLI::App* terminal = app.add_subcommand("terminal", "The operator terminals.");
  terminal->require_subcommand(1);
  terminal->add_subcommand("show", "Read the display terminal's screen and print its 16 lines.")
      ->callback([&chosen] {
        chosen = std::make_unique<TerminalCommand>(std::vector<std::string>{}, false);
      });

  CLI::App* keys = terminal->add_subcommand(
      "keys",
      "Press keys in order. Display terminal keys (" + keyNames(Keypad::Qx7) +
          ") are each followed by a read of the display, and the last screen is printed; with "
          "--qx5 the keypad's keys (" +
          keyNames(Keypad::Qx5) + ") are sent without read-back.");
  auto names = std::make_shared<std::vector<std::string>>();
  auto qx5 = std::make_shared<bool>(false);
  keys->add_option("KEY", *names, "the keys, by their captions")->required();
  keys->add_flag("--qx5", *qx5, "press the keypad terminal's keys");
  keys->callback(
      [&chosen, names, qx5] { chosen = std::make_unique<TerminalCommand>(*names, *qx5); });
}

void TerminalCommand::prepare(CtlSession& session) {
  for (const std::string& name : names_) {
    const TerminalKey* key = findKeyByCaption(pad_, name);
    if (!key) {
      session.fail(kExitUsage, format("'%s' is not a key of the %s; its keys: %s", name.c_str(),
                                      pad_ == Keypad::Qx7 ? "display terminal" : "keypad terminal",
                                      keyNames(pad_).c_str()));
      return;
    }
    keys_.push_back(key);
  }
}

void TerminalCommand::connected(CtlSession& session) {
  RemoteTerminal& terminal = session.device().terminal;
  terminal.QX5_OnClick(pad_ == Keypad::Qx5);
  if (keys_.empty()) {
    terminal.Button4Click();
    return;
  }
  pressNext(session);
}

// One key at a time: the next goes out once the last one's reply (and, for
// the display terminal, its screen) has come.
void TerminalCommand::pressNext(CtlSession& session) {
  session.progress(format("Key %zu of %zu", next_ + 1, keys_.size()));
  session.device().terminal.keyClick(*keys_[next_++]);
}

void TerminalCommand::replied(CtlSession& session, int code, ByteView) {
  const bool last = next_ >= keys_.size();
  if (pad_ == Keypad::Qx5) {
    if (code != 4) return;
    if (last)
      session.finish(kExitOk);
    else
      pressNext(session);
    return;
  }
  if (code != 3) return;
  if (last)
    printScreen(session);
  else
    pressNext(session);
}

void TerminalCommand::printScreen(CtlSession& session) {
  for (const std::string& line : session.device().terminal.controls().memo4)
    std::printf("%s\n", line.c_str());
  std::fflush(stdout);
  session.finish(kExitOk);
}

}  // namespace vantor
