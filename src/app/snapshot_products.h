#pragma once
// The products as a snapshot part: the "Produto" page's product file. A file
// is taken only whole: any line the page would report refuses it.
#include "app/device.h"
#include "app/snapshot_part.h"

namespace vantor {

class ProductsSnapshotPart final : public SnapshotPart {
 public:
  explicit ProductsSnapshotPart(Device& device) : device_(device) {}

  std::string name() const override { return "products"; }
  FileLimit fileLimit() const override;
  std::string fileName() const override { return "products.csv"; }
  void startRead() override;
  bool readComplete(int code) override;
  bool saveFile(const std::string& path, std::string& error) override;
  bool takeFile(const std::string& path, ByteView bytes, std::string& error) override;
  std::optional<NamedCells> fileCells(ByteView bytes, std::string& error) const override;
  void startWrite() override;
  bool writeComplete(int code) override;

 private:
  // A sweep of the products (structure, products or writing) has ended.
  bool sweepEnded(int code) const;

  Device& device_;
  bool writing_ = false;
};

}  // namespace vantor
