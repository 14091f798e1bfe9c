#include "app/snapshot_run.h"

#include "link/text_format.h"

namespace vantor {

SnapshotRun::SnapshotRun(Goal goal, std::vector<SnapshotPart*> parts, std::string folder)
    : goal_(goal), parts_(std::move(parts)), folder_(std::move(folder)) {}

void SnapshotRun::start() {
  if (stage_ != Stage::Idle) return;
  if (goal_ != Goal::Save && files_.size() != parts_.size())
    return fail("the snapshot's files were not read");
  if (parts_.empty()) {
    stage_ = Stage::Done;
    return;
  }
  stage_ = Stage::Reading;
  part_ = 0;
  parts_[0]->startRead();
}

void SnapshotRun::replied(int code) {
  if (stage_ == Stage::Reading && parts_[part_]->readComplete(code))
    partRead();
  else if (stage_ == Stage::Writing && parts_[part_]->writeComplete(code))
    partWritten();
}

void SnapshotRun::partRead() {
  SnapshotPart& part = *parts_[part_];
  std::string error;
  if (goal_ == Goal::Save) {
    if (!part.saveFile(folder_ + part.fileName(), error)) return fail(error);
    onLine(format("%s: saved in %s", part.name().c_str(), part.fileName().c_str()));
  } else if (!part.takeFile(part.fileName(), files_[part_], error)) {
    return fail(error + (goal_ == Goal::Restore ? "; nothing written" : ""));
  }
  if (stopsHere()) return;
  if (++part_ < parts_.size()) return parts_[part_]->startRead();

  if (goal_ == Goal::Save) {
    stage_ = Stage::Done;
  } else if (goal_ == Goal::Diff) {
    for (SnapshotPart* p : parts_)
      for (CellDifference& d : p->differences()) differences_.push_back(std::move(d));
    stage_ = Stage::Done;
  } else {
    stage_ = Stage::Writing;
    part_ = 0;
    parts_[0]->startWrite();
  }
}

void SnapshotRun::partWritten() {
  SnapshotPart& part = *parts_[part_];
  std::vector<CellDifference> left = part.writtenDifferences();
  if (left.empty()) {
    onLine(format("%s: written and read back", part.name().c_str()));
  } else {
    readBackDiffers_ = true;
    onLine(format("%s: read back differs in %zu value%s", part.name().c_str(), left.size(),
                  left.size() == 1 ? "" : "s"));
    for (CellDifference& d : left) differences_.push_back(std::move(d));
  }
  written_.push_back(part.name());
  if (++part_ < parts_.size()) {
    if (stopsHere()) return;
    return parts_[part_]->startWrite();
  }
  stage_ = Stage::Done;
}

void SnapshotRun::cancel() {
  cancelAsked_ = true;
  if (stage_ == Stage::Idle) stopsHere();
}

bool SnapshotRun::stopsHere() {
  if (!cancelAsked_ || done()) return false;
  std::string written;
  for (const std::string& name : written_) written += (written.empty() ? "" : ", ") + name;
  cancelled_ = true;
  if (goal_ == Goal::Save)
    fail("cancelled; no snapshot saved");
  else if (goal_ == Goal::Diff)
    fail("cancelled");
  else
    fail(written.empty() ? "cancelled; nothing written to the device"
                         : "cancelled; written to the device: " + written);
  return true;
}

void SnapshotRun::fail(std::string error) {
  error_ = std::move(error);
  stage_ = Stage::Failed;
}

std::string SnapshotRun::progress() const {
  if (stage_ != Stage::Reading && stage_ != Stage::Writing) return "";
  return format("%s %s (%zu of %zu)", stage_ == Stage::Reading ? "Reading" : "Writing",
                parts_[part_]->name().c_str(), part_ + 1, parts_.size());
}

}  // namespace vantor
