#pragma once
// The six configuration blocks as a snapshot part: the "SystemBin" page's
// 340-byte block backup.
#include <cstddef>

#include "app/device.h"
#include "app/snapshot_part.h"
#include "config/block_backup_file.h"

namespace vantor {

class BlocksSnapshotPart final : public SnapshotPart {
 public:
  explicit BlocksSnapshotPart(Device& device) : device_(device) {}

  std::string name() const override { return "blocks"; }
  FileLimit fileLimit() const override { return kBlockBackupLimit; }
  std::string fileName() const override { return "blocks.bin"; }
  void startRead() override;
  bool readComplete(int code) override;
  bool saveFile(const std::string& path, std::string& error) override;
  bool takeFile(const std::string& path, ByteView bytes, std::string& error) override;
  std::optional<NamedCells> fileCells(ByteView bytes, std::string& error) const override;
  void startWrite() override;
  bool writeComplete(int code) override;

 private:
  Device& device_;
  size_t answered_ = 0;  // replies of the reads or writes under way
  bool writing_ = false;
};

}  // namespace vantor
