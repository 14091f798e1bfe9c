#include "app/settings_file.h"

#include <cstring>

#include "link/text_format.h"

namespace vantor {

std::string settingsStamp(const LocalTime& now) {
  return format("%02d%02d%02d%04d", now.hour, now.day, now.month, now.year);
}

std::string settingsPath(const std::string& dataDir, const std::string& caption) {
  return format("%s%s.ini", dataDir.c_str(), caption.c_str());
}

namespace {
template <size_t N>
void putText(std::array<uint8_t, N>& field, const std::string& text) {
  field.fill(0);
  const size_t n = std::min(text.size(), N - 1);
  std::memcpy(field.data(), text.data(), n);
}
}  // namespace

SettingsRecord SettingsRecord::make(uint8_t level, const std::string& host, const LocalTime& now) {
  SettingsRecord r;
  r.level = level;
  putText(r.host, host);
  putText(r.stamp, settingsStamp(now));
  r.check = r.computeCheck();
  return r;
}

uint8_t SettingsRecord::computeCheck() const {
  unsigned sum = level;
  for (uint8_t b : host) sum += b;
  for (uint8_t b : stamp) sum += b;
  return static_cast<uint8_t>(sum);
}

std::string SettingsRecord::hostText() const {
  const auto* p = reinterpret_cast<const char*>(host.data());
  return std::string(p, strnlen(p, host.size()));
}

uint8_t SettingsRecord::restoredLevel(const LocalTime& now) const {
  std::array<uint8_t, 20> current{};
  putText(current, settingsStamp(now));
  // The stored stamp is compared as text, up to its NUL.
  const bool sameHour =
      std::strncmp(reinterpret_cast<const char*>(stamp.data()),
                   reinterpret_cast<const char*>(current.data()), stamp.size()) == 0;
  return level == 4 && check == computeCheck() && sameHour ? 4 : 0;
}

std::optional<SettingsRecord> SettingsRecord::decode(const uint8_t* bytes, size_t size) {
  if (size < kSize) return std::nullopt;
  SettingsRecord r;
  r.level = bytes[0];
  std::memcpy(r.host.data(), bytes + 1, r.host.size());
  std::memcpy(r.stamp.data(), bytes + 21, r.stamp.size());
  r.check = bytes[41];
  return r;
}

std::array<uint8_t, SettingsRecord::kSize> SettingsRecord::encode() const {
  std::array<uint8_t, kSize> out{};
  out[0] = level;
  std::memcpy(out.data() + 1, host.data(), host.size());
  std::memcpy(out.data() + 21, stamp.data(), stamp.size());
  out[41] = check;
  return out;
}

std::optional<SettingsRecord> readSettingsFile(const std::string& path) {
  std::string error;
  const std::optional<Bytes> bytes = readFileBytes(path, kSettingsFileLimit, error);
  if (!bytes) return std::nullopt;
  return SettingsRecord::decode(bytes->data(), bytes->size());
}

bool writeSettingsFile(const std::string& path, const SettingsRecord& record, std::string* error) {
  const auto bytes = record.encode();
  std::string why;
  if (writeFileBytes(path, ByteView(bytes.data(), bytes.size()), why)) return true;
  if (error) *error = why;
  return false;
}

}  // namespace vantor
