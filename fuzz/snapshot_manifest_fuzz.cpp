// The snapshot manifest parser fed any bytes: it never throws, accepts only
// plain file names, and a manifest it accepts is written and read back alike.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/snapshot_manifest.h"

using namespace vantor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string error;
  const std::optional<SnapshotManifest> manifest = parseSnapshotManifest(text, error);
  if (!manifest) return 0;
  for (const SnapshotFileEntry& e : manifest->files)
    if (e.file.empty() || e.file.find('/') != std::string::npos || e.file == "." || e.file == "..")
      std::abort();
  const std::optional<SnapshotManifest> again =
      parseSnapshotManifest(snapshotManifestText(*manifest), error);
  if (!again || again->device != manifest->device || again->files.size() != manifest->files.size())
    std::abort();
  return 0;
}
