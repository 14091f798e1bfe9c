#pragma once
// The seven reject-label texts as a snapshot part, in the file of
// `vantorctl reject-texts set`: one text a line, in the order of the
// "Printer" page's rows.
#include "app/device.h"
#include "app/snapshot_part.h"
#include "peripherals/reject_text_file.h"

namespace vantor {

class RejectTextsSnapshotPart final : public SnapshotPart {
 public:
  explicit RejectTextsSnapshotPart(Device& device) : device_(device) {}

  std::string name() const override { return "reject-texts"; }
  FileLimit fileLimit() const override { return kRejectTextLimit; }
  std::string fileName() const override { return "reject-texts.txt"; }
  void startRead() override;
  bool readComplete(int code) override;
  bool saveFile(const std::string& path, std::string& error) override;
  bool takeFile(const std::string& path, ByteView bytes, std::string& error) override;
  std::optional<NamedCells> fileCells(ByteView bytes, std::string& error) const override;
  void startWrite() override;
  bool writeComplete(int code) override;

 private:
  RejectTexts deviceTexts() const;

  Device& device_;
  RejectTexts fileTexts_;
};

}  // namespace vantor
