#pragma once
// The keys of the two operator terminals as one table: the display terminal's
// sixteen keys send the ASCII code of a character, the keypad's ten keys small
// integers. Row and column place each key in its keypad as the terminal
// shows it.
#include <cstdint>
#include <span>
#include <string_view>

namespace vantor {

enum class Keypad : uint8_t { Qx7, Qx5 };

struct TerminalKey {
  Keypad pad;
  const char* control;  // the button's objectName
  const char* caption;  // the button's text, also the key's name on the command line
  uint8_t code;         // what command 4 carries
  int row;
  int column;
};

std::span<const TerminalKey> terminalKeys();
// The keys of one keypad, in table order.
std::span<const TerminalKey> qx7Keys();
std::span<const TerminalKey> qx5Keys();

// The key of a keypad by its caption ("5", "Up", "Bk", "F1", "Z"), or nullptr.
const TerminalKey* findKeyByCaption(Keypad pad, std::string_view caption);
// The key of a button by its objectName ("Key_5", "QX5_Ent"), or nullptr.
const TerminalKey* findKeyByControl(std::string_view control);

}  // namespace vantor
