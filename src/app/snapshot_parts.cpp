#include "app/snapshot_parts.h"

#include "app/snapshot_blocks.h"
#include "app/snapshot_products.h"
#include "app/snapshot_reject_texts.h"
#include "app/snapshot_tables.h"
#include "app/snapshot_users.h"

namespace vantor {

std::vector<std::unique_ptr<SnapshotPart>> makeSnapshotParts(Device& device, bool withPasswords) {
  std::vector<std::unique_ptr<SnapshotPart>> parts;
  parts.push_back(std::make_unique<TablesSnapshotPart>(device));
  parts.push_back(std::make_unique<BlocksSnapshotPart>(device));
  parts.push_back(std::make_unique<ProductsSnapshotPart>(device));
  parts.push_back(std::make_unique<UsersSnapshotPart>(device, withPasswords));
  parts.push_back(std::make_unique<RejectTextsSnapshotPart>(device));
  return parts;
}

std::vector<std::string> snapshotPartNames() {
  return {"tables", "blocks", "products", "users", "reject-texts"};
}

}  // namespace vantor
