#include "app/snapshot_reject_texts.h"

namespace vantor {

RejectTexts RejectTextsSnapshotPart::deviceTexts() const {
  RejectTexts texts;
  for (size_t i = 0; i < kRejectSlots; ++i)
    texts[i] = device_.labelPrinter.rejectLabels().text(i + 1);
  return texts;
}

void RejectTextsSnapshotPart::startRead() { device_.labelPrinter.GetErLbClick(); }

bool RejectTextsSnapshotPart::readComplete(int code) {
  if (code != 43) return false;
  // A device text that a file cannot hold shows as no cell, and so as a difference.
  std::string ignored;
  deviceRead(asBytes(rejectTextsFileText(deviceTexts(), ignored).value_or("")));
  return true;
}

bool RejectTextsSnapshotPart::saveFile(const std::string& path, std::string& error) {
  const std::optional<std::string> text = rejectTextsFileText(deviceTexts(), error);
  return text && writeFileText(path, *text, error);
}

bool RejectTextsSnapshotPart::takeFile(const std::string& path, ByteView bytes,
                                       std::string& error) {
  if (!parseRejectTexts(asText(bytes), path, fileTexts_, error)) return false;
  fileTaken(bytes);
  return true;
}

std::optional<NamedCells> RejectTextsSnapshotPart::fileCells(ByteView bytes,
                                                             std::string& error) const {
  RejectTexts texts;
  if (!parseRejectTexts(asText(bytes), "the file", texts, error)) return std::nullopt;
  NamedCells cells;
  for (size_t i = 0; i < kRejectSlots; ++i)
    cells.push_back({kRejectCaseLabels[i], quotedCell(texts[i])});
  return cells;
}

void RejectTextsSnapshotPart::startWrite() {
  LabelPrinter& printer = device_.labelPrinter;
  for (size_t i = 0; i < kRejectSlots; ++i) printer.controls.erLbTexts[i + 1] = fileTexts_[i];
  printer.SetErLbClick();
}

bool RejectTextsSnapshotPart::writeComplete(int code) {
  if (code == 44) {
    startRead();
    return false;
  }
  return readComplete(code);
}

}  // namespace vantor
