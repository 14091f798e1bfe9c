// The block backup reader fed any file: only an image of exactly 340 bytes is
// taken, and writing its blocks gives the same image back.
#include <cstdint>
#include <cstdlib>

#include "config/block_backup_file.h"

using namespace vantor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const ByteView image(data, size);
  const std::optional<BlockValues> blocks = decodeBlockBackup(image);
  if (blocks.has_value() != (size == kBlockBackupSize)) std::abort();
  if (!blocks) return 0;
  const Bytes again = encodeBlockBackup(*blocks);
  if (again.size() != size || !std::equal(again.begin(), again.end(), data)) std::abort();
  return 0;
}
