#include "app/snapshot_parts.h"

#include "app/snapshot_blocks.h"
#include "app/snapshot_tables.h"

namespace vantor {

std::vector<std::unique_ptr<SnapshotPart>> makeSnapshotParts(Device& device) {
  std::vector<std::unique_ptr<SnapshotPart>> parts;
  parts.push_back(std::make_unique<TablesSnapshotPart>(device));
  parts.push_back(std::make_unique<BlocksSnapshotPart>(device));
  return parts;
}

}  // namespace vantor
