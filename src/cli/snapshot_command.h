#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/snapshot_part.h"
#include "app/snapshot_run.h"
#include "cli/ctl_session.h"
#include "cli/snapshot_manifest.h"

namespace CLI {
class App;
}

namespace vantor {

// `snapshot save DIR`: reads every part of the device into its file, written
// into a temporary folder beside DIR that becomes DIR once complete, with the
// manifest snapshot.json. An existing DIR is left alone (exit kExitFile).
// `snapshot restore DIR [--only PARTS]`: reads the manifest and the parts'
// files before connecting and checks their SHA-256; reads the device and takes
// every file with the window's own checks; any refusal ends the command before
// the first write (kExitFile). Then writes each part, reads it back and
// compares, one line per part; kExitNoReply when a read-back differs.
// `snapshot diff DIR [--only PARTS]`: one line per value where the device and
// the snapshot differ; kExitDifferent when there is any.
class SnapshotCommand final : public CtlCommand {
 public:
  enum class Action { Save, Restore, Diff };

  SnapshotCommand(Action action, std::string dir, std::vector<std::string> only);
  ~SnapshotCommand() override;

  static void addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen);

  void prepare(CtlSession& session) override;
  void replied(CtlSession& session, int code, ByteView frame) override;

 private:
  void chooseParts(CtlSession& session);
  bool readSnapshot(CtlSession& session);
  void finished(CtlSession& session);

  Action action_;
  std::string dir_;
  std::vector<std::string> only_;
  std::string workDir_;  // save: the temporary folder until it becomes dir_
  std::vector<std::unique_ptr<SnapshotPart>> parts_;
  std::vector<Bytes> files_;
  std::unique_ptr<SnapshotRun> run_;
  std::optional<Subscription<const std::string&>> lines_;
};

}  // namespace vantor
