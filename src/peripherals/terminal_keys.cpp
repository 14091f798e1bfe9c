#include "peripherals/terminal_keys.h"

#include <algorithm>
#include <array>

namespace vantor {

namespace {

using enum Keypad;

// The display terminal: digits in three columns (1-2-3, 4-5-6, 7-8-9,
// Bk-0-Ent), under them a cross of arrows. The keypad: F1..F4 in a row at the
// bottom left, at the right two columns Off-Z, M-T, Bk-Ent.
constexpr std::array kKeys = std::to_array<TerminalKey>({
    {Qx7, "Key_1", "1", 0x31, 0, 0},   {Qx7, "Key_2", "2", 0x32, 0, 1},
    {Qx7, "Key_3", "3", 0x33, 0, 2},   {Qx7, "Key_4", "4", 0x34, 1, 0},
    {Qx7, "Key_5", "5", 0x35, 1, 1},   {Qx7, "Key_6", "6", 0x36, 1, 2},
    {Qx7, "Key_7", "7", 0x37, 2, 0},   {Qx7, "Key_8", "8", 0x38, 2, 1},
    {Qx7, "Key_9", "9", 0x39, 2, 2},   {Qx7, "Key_Back", "Bk", 0x46, 3, 0},
    {Qx7, "Key_0", "0", 0x30, 3, 1},   {Qx7, "Key_Ent", "Ent", 0x45, 3, 2},
    {Qx7, "Key_Up", "Up", 0x41, 4, 1}, {Qx7, "Key_Lf", "Lf", 0x43, 5, 0},
    {Qx7, "Key_Rg", "Rg", 0x44, 5, 2}, {Qx7, "Key_Dw", "Dw", 0x42, 6, 1},
    {Qx5, "QX5_F1", "F1", 1, 3, 0},    {Qx5, "QX5_F2", "F2", 2, 3, 1},
    {Qx5, "QX5_F3", "F3", 3, 3, 2},    {Qx5, "QX5_F4", "F4", 4, 3, 3},
    {Qx5, "QX5_Bk", "Bk", 5, 2, 4},    {Qx5, "QX5_M", "M", 6, 1, 4},
    {Qx5, "QX5_Off", "Off", 7, 0, 4},  {Qx5, "QX5_0", "Z", 8, 0, 5},
    {Qx5, "QX5_T", "T", 9, 1, 5},      {Qx5, "QX5_Ent", "Ent", 10, 2, 5},
});

constexpr size_t kQx7Count = 16;

}  // namespace

std::span<const TerminalKey> terminalKeys() { return kKeys; }
std::span<const TerminalKey> qx7Keys() { return std::span(kKeys).first(kQx7Count); }
std::span<const TerminalKey> qx5Keys() { return std::span(kKeys).subspan(kQx7Count); }

const TerminalKey* findKeyByCaption(Keypad pad, std::string_view caption) {
  const auto it = std::find_if(kKeys.begin(), kKeys.end(), [&](const TerminalKey& k) {
    return k.pad == pad && caption == k.caption;
  });
  return it == kKeys.end() ? nullptr : &*it;
}

const TerminalKey* findKeyByControl(std::string_view control) {
  const auto it = std::find_if(kKeys.begin(), kKeys.end(),
                               [&](const TerminalKey& k) { return control == k.control; });
  return it == kKeys.end() ? nullptr : &*it;
}

}  // namespace vantor
