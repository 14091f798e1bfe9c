#pragma once

// The display terminal attached to the simulated device: 16 lines of 30
// characters showing a small menu tree. Command 3 answers the screen in 16
// slots of 31 bytes; command 4 applies one key. The display terminal's keys
// are ASCII codes ('0'..'9', 'A' up, 'B' down, 'C' left, 'D' right, 'E' enter,
// 'F' back); the keypad terminal's codes 1..10 drive the same menu (F1 up, F2
// down, F3 left, F4 right, 5 back, 6 main menu, 7 off, 8 zero, 9 unused,
// 10 enter).
//
// The main menu lists seven entries; Up and Dw choose one, a digit jumps to
// it, Ent opens its sub-menu. A sub-menu lists values: Up and Dw choose one,
// Lf and Rg change it, digits type a new one, Ent confirms what was changed,
// Bk leaves (dropping what was not confirmed). The status reply's menu line
// and bottom-bar field follow the selection and the mode.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "frame_codec.h"

namespace rwsim {

class SimDevice;

inline constexpr std::uint8_t kCmdReadDisplay = 3;
inline constexpr std::uint8_t kCmdKey = 4;
inline constexpr std::size_t kScreenLines = 16;
inline constexpr std::size_t kScreenColumns = 30;
inline constexpr std::size_t kScreenSlot = 31;

struct SimMenuValue {
  const char* name;
  int value;
  int min;
  int max;
  int step;
};

struct SimMenu {
  const char* title;
  std::vector<SimMenuValue> values;
};

class SimTerminal {
 public:
  // The bottom bar's fields, in screen order.
  enum Field : std::uint8_t { kMenu, kSub, kChanged, kSaved, kTyping, kOff };

  SimTerminal();

  void install(SimDevice& device);

  // Applies one key code; unknown codes change nothing. Returns whether it was known.
  bool press(std::uint8_t code);
  std::array<std::string, kScreenLines> screen() const;
  Bytes screenPayload() const;

  std::uint8_t menuLine() const;
  std::uint8_t bottomBarField() const { return field_; }
  const std::vector<SimMenu>& menus() const { return menus_; }

 private:
  enum class Key { Up, Down, Left, Right, Enter, Back, Main, Off, Digit };
  void apply(Key key, int digit);
  void inMain(Key key, int digit);
  void inSub(Key key, int digit);
  void leaveSub();

  std::vector<SimMenu> menus_;
  std::size_t entry_ = 0;  // chosen main-menu entry
  bool inSub_ = false;
  std::size_t line_ = 0;     // chosen value of the sub-menu
  std::vector<int> edited_;  // the sub-menu's values as shown, confirmed or not
  std::string typed_;        // digits typed for the chosen value
  std::string message_;
  std::uint8_t field_ = kMenu;
};

}  // namespace rwsim
