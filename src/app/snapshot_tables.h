#pragma once
// The parameter tables as a snapshot part: the "System" page's table file.
#include "app/device.h"
#include "app/snapshot_part.h"
#include "config/par_table_file.h"

namespace vantor {

class TablesSnapshotPart final : public SnapshotPart {
 public:
  explicit TablesSnapshotPart(Device& device) : device_(device) {}

  std::string name() const override { return "tables"; }
  FileLimit fileLimit() const override { return kParTableFileLimit; }
  std::string fileName() const override { return "tables.txt"; }
  void startRead() override;
  bool readComplete(int code) override;
  bool saveFile(const std::string& path, std::string& error) override;
  bool takeFile(const std::string& path, ByteView bytes, std::string& error) override;
  std::optional<NamedCells> fileCells(ByteView bytes, std::string& error) const override;
  void startWrite() override;
  bool writeComplete(int code) override;

 private:
  bool sweepEnded(int code) const;

  Device& device_;
};

}  // namespace vantor
