#include "app/snapshot_job.h"

#include <set>

#include "app/snapshot_parts.h"

namespace vantor {

SnapshotJob::SnapshotJob(Device& device, SnapshotRun::Goal goal, Options options)
    : device_(device), goal_(goal), options_(std::move(options)) {
  const std::set<std::string> wanted(options_.only.begin(), options_.only.end());
  for (auto& part : makeSnapshotParts(device_, options_.withPasswords))
    if (wanted.empty() || wanted.count(part->name())) {
      parts_.push_back(part.get());
      owned_.push_back(std::move(part));
    }
  run_ = std::make_unique<SnapshotRun>(goal_, parts_, "");
}

bool SnapshotJob::prepare(std::string& error) {
  if (goal_ == SnapshotRun::Goal::Save) {
    if (!save_.begin(options_.dir, error)) return false;
    run_ = std::make_unique<SnapshotRun>(goal_, parts_, save_.workFolder());
    return true;
  }
  std::optional<SnapshotFiles> snapshot = readSnapshotFiles(options_.dir, parts_, error);
  if (!snapshot) {
    if (goal_ == SnapshotRun::Goal::Restore) error += "; nothing written";
    return false;
  }
  run_->setFiles(std::move(snapshot->files));
  return true;
}

void SnapshotJob::replied(int code) {
  if (run_->done()) return;
  run_->replied(code);
  if (goal_ != SnapshotRun::Goal::Save || !run_->done() || run_->failed()) return;
  std::string error;
  if (!save_.finish(parts_, device_.liveStatus.version(), options_.tool, error))
    finishError_ = error;
}

}  // namespace vantor
