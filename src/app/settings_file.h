#pragma once
// The settings record carried from one run to the next: the access level, the
// device address and the hour stamp that lets level 4 survive a restart within
// the same clock hour of the same day. 42 bytes: level, 20-byte host field,
// 20-byte stamp field, check byte over the 41 bytes before it.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "config/file_bytes.h"
#include "link/seams.h"

namespace vantor {

struct SettingsRecord {
  uint8_t level = 0;
  std::array<uint8_t, 20> host{};
  std::array<uint8_t, 20> stamp{};
  uint8_t check = 0;

  static constexpr size_t kSize = 42;
  static constexpr size_t kMaxHost = 19;

  // Builds the record as the window writes it at exit.
  static SettingsRecord make(uint8_t level, const std::string& host, const LocalTime& now);
  static std::optional<SettingsRecord> decode(const uint8_t* bytes, size_t size);
  std::array<uint8_t, kSize> encode() const;

  uint8_t computeCheck() const;
  std::string hostText() const;
  // The level this record grants now: 4 only when the level is 4, the check
  // byte is right and the stamp is the current hour of the current day.
  uint8_t restoredLevel(const LocalTime& now) const;
};

// "%02d%02d%02d%04d" of hour, day, month and year.
std::string settingsStamp(const LocalTime& now);
// The settings file's path: data directory + window caption + ".ini".
std::string settingsPath(const std::string& dataDir, const std::string& caption);

// The record is all the file holds; anything larger is refused unread.
inline constexpr FileLimit kSettingsFileLimit{SettingsRecord::kSize, "a settings file"};

// File access. Reading returns nothing when the file cannot be read, is not a
// regular file, or is not exactly one record long. Writing replaces the file
// as a whole, so an interrupted or failed write leaves the old file as it
// was; it returns false (and the reason in `error` when given) when the file
// cannot be written.
std::optional<SettingsRecord> readSettingsFile(const std::string& path);
bool writeSettingsFile(const std::string& path, const SettingsRecord& record,
                       std::string* error = nullptr);

}  // namespace vantor
