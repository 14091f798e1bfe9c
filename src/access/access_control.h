#pragma once
// The tool's access level 0..4: its names, the access codes of the
// levels, the login decision and the level changes of double click, disconnect
// and start-up. Applying a level writes its name into StatusBar panel 2 and
// tells the window that the controls of the access table must be set anew.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "link/shell.h"

namespace vantor {

inline constexpr uint8_t kMaxAccessLevel = 4;

// "NO USER", "OPERATIONAL USER", "MAINTENANCE USER", "SERVICE USER", "$$$";
// a level above 4 has no name (empty text).
std::string_view accessLevelName(uint8_t level);

class AccessControl {
 public:
  static constexpr size_t kCodeSlot = 10;                  // bytes of a code slot
  static constexpr size_t kMaxCodeLength = kCodeSlot - 1;  // characters of a code
  static constexpr std::string_view kBuiltInCode =
      "Velmor";  // levels 1..3 until the device sends its own
  static constexpr std::string_view kLevel4Code = "Velmor";  // fixed in the program

  explicit AccessControl(Shell& shell);

  uint8_t level() const { return level_; }
  // Sets the level without applying it; a value above 4 is taken as 0.
  void setLevel(uint8_t level);
  // Apply the level: StatusBar panel 2 := its name; the window sets the
  // controls of the access table (Area::Access).
  void apply();

  // The code of level 1..4 (empty text for any other level).
  std::string_view code(uint8_t level) const;
  // The codes of levels 1, 2 and 3 as the device sends them with its table
  // list (reply 62): each is its text up to the first zero byte and
  // is cut to 9 characters, the capacity of a slot. An empty code is stored
  // as empty and never matches (see levelFor).
  void setDeviceCodes(std::string_view level1, std::string_view level2, std::string_view level3);

  // The login decision: the password is compared exactly (case-sensitive,
  // whole text) with the codes of levels 1, 2, 3 and 4 in this order, and the
  // last equal one wins, so the highest equal level. An empty code never
  // matches, not even an empty password. 0 when nothing matches.
  uint8_t levelFor(std::string_view password) const;

  // FormDblClick, first half: at a level above 0 this logs out (level 0,
  // applied) and returns false; at level 0 it returns true, and the window
  // shows the password dialog and then calls passwordDialogClosed.
  bool FormDblClick();
  // FormDblClick, second half: whatever button closed the dialog, the text
  // typed is compared (levelFor) and the level applied.
  void passwordDialogClosed(std::string_view password);

  // Lan2Disconnect: levels 1..3 drop to 0 and are applied; level 4 survives.
  void mainDisconnected();

  // Called after a double click changed and applied the level (the parameter
  // tables then repeat their enabling test of SavePar/SaveDef).
  std::function<void()> afterUserChange;

 private:
  void userChanged();

  Shell& shell_;
  uint8_t level_ = 0;
  std::array<std::string, 3> codes_;  // levels 1, 2, 3
};

}  // namespace vantor
