#pragma once
// SnapshotRun drives the parts of a device snapshot through a save, a restore
// or a comparison, one part at a time, from the replies of the main link.
//
//   Save:    each part is read and written into its file in the folder.
//   Diff:    each part is read and its file taken with the page's checks;
//            then the differences of every part are collected.
//   Restore: as Diff, so that every file is checked before the first write;
//            a refused file ends the run with nothing written. Then each part
//            is written, read back and compared with its file.
#include <string>
#include <vector>

#include "app/snapshot_part.h"
#include "link/bytes.h"
#include "link/signal.h"

namespace vantor {

class SnapshotRun {
 public:
  enum class Goal { Save, Restore, Diff };

  // folder: where Save writes the files (ends in a slash).
  SnapshotRun(Goal goal, std::vector<SnapshotPart*> parts, std::string folder);

  // Restore and Diff: the files' bytes, in the order of the parts.
  void setFiles(std::vector<Bytes> files) { files_ = std::move(files); }
  const std::vector<Bytes>& files() const { return files_; }
  // Starts with the first part; call once the device's version has arrived.
  void start();
  // Every reply of the main link, after its handler ran.
  void replied(int code);

  // Stops the run before its next part begins; the part under way finishes.
  // A save leaves no folder, a restore keeps the parts written so far.
  void cancel();
  bool cancelled() const { return cancelled_; }

  bool done() const { return stage_ == Stage::Done || stage_ == Stage::Failed; }
  bool failed() const { return stage_ == Stage::Failed; }
  const std::string& error() const { return error_; }
  // Diff: every difference; Restore: those left after the read-back.
  const std::vector<CellDifference>& differences() const { return differences_; }
  bool readBackDiffers() const { return readBackDiffers_; }
  // "Reading tables (1 of 2)", "Writing blocks (2 of 2)", or empty when done.
  std::string progress() const;
  // Parts finished in the stage under way (reading or writing).
  size_t partsDone() const { return part_; }

  // One line per part as it is finished: "tables: saved in tables.txt",
  // "blocks: written and read back", "tables: read back differs in 3 values".
  Signal<const std::string&> onLine;

 private:
  enum class Stage { Idle, Reading, Writing, Done, Failed };

  void partRead();
  void partWritten();
  void fail(std::string error);
  // Ends the run when a cancel was asked for; true then.
  bool stopsHere();

  Goal goal_;
  std::vector<SnapshotPart*> parts_;
  std::string folder_;
  std::vector<Bytes> files_;
  Stage stage_ = Stage::Idle;
  size_t part_ = 0;
  std::string error_;
  std::vector<CellDifference> differences_;
  bool readBackDiffers_ = false;
  bool cancelAsked_ = false;
  bool cancelled_ = false;
  std::vector<std::string> written_;  // restore: the parts written so far
};

}  // namespace vantor
