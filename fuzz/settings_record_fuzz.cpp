// The settings record read from a file of any content.
#include <cstdint>
#include <cstdlib>

#include "app/settings_file.h"

using namespace vantor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto record = SettingsRecord::decode(data, size);
  if (!record) return 0;
  if (record->hostText().size() > 20) std::abort();
  const auto again = SettingsRecord::decode(record->encode().data(), SettingsRecord::kSize);
  if (!again || again->encode() != record->encode()) std::abort();
  (void)record->restoredLevel(LocalTime{2026, 12, 10, 10, 0, 0});
  return 0;
}
