#pragma once
// One save, restore or comparison of a device snapshot, as the command line
// and the window's menu run it: the parts chosen, the folder saved through a
// temporary one or read and checked before anything is connected or written,
// the run driven by the main link's replies, and the saved folder completed
// with its manifest.
#include <memory>
#include <string>
#include <vector>

#include "app/device.h"
#include "app/snapshot_folder.h"
#include "app/snapshot_run.h"

namespace vantor {

class SnapshotJob {
 public:
  struct Options {
    std::string dir;
    std::vector<std::string> only;  // part names; empty for every part
    bool withPasswords = false;     // save: the user accounts with their passwords
    std::string tool;               // the manifest's "tool"
  };

  SnapshotJob(Device& device, SnapshotRun::Goal goal, Options options);

  // Save: creates the temporary folder; Restore and Diff: reads the snapshot
  // and checks every file against its manifest. False with the reason.
  bool prepare(std::string& error);
  // The device's version has arrived: the run begins.
  void start() { run_->start(); }
  // Every reply of the main link, after its handler ran. A save that ends
  // well gets its manifest and its folder here.
  void replied(int code);
  void cancel() { run_->cancel(); }

  bool done() const { return run_->done(); }
  bool failed() const { return run_->failed() || !finishError_.empty(); }
  std::string error() const { return finishError_.empty() ? run_->error() : finishError_; }
  SnapshotRun& run() { return *run_; }
  const std::vector<SnapshotPart*>& parts() const { return parts_; }

 private:
  Device& device_;
  SnapshotRun::Goal goal_;
  Options options_;
  std::vector<std::unique_ptr<SnapshotPart>> owned_;
  std::vector<SnapshotPart*> parts_;
  SnapshotSave save_;
  std::unique_ptr<SnapshotRun> run_;
  std::string finishError_;
};

}  // namespace vantor
