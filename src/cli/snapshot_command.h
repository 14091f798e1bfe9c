#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/snapshot_job.h"
#include "cli/ctl_session.h"

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
// `snapshot diff DIR [DIR2] [--only PARTS] [--json]`: one line per value where
// the device (or the snapshot DIR2, without connecting) and the snapshot DIR
// differ; kExitDifferent when there is any.
class SnapshotCommand final : public CtlCommand {
 public:
  enum class Action { Save, Restore, Diff };
  struct Options {
    std::string dir;
    std::string secondDir;  // diff: a second snapshot in place of the device
    std::vector<std::string> only;
    bool json = false;
    bool withPasswords = false;  // save: the user accounts with their passwords
  };

  SnapshotCommand(Action action, Options options);

  static void addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen);

  void prepare(CtlSession& session) override;
  void replied(CtlSession& session, int code, ByteView frame) override;

 private:
  void compareSnapshots(CtlSession& session);
  void printDifferences(const std::vector<CellDifference>& differences,
                        const DiffSides& sides) const;
  void finished(CtlSession& session);

  Action action_;
  Options options_;
  std::unique_ptr<SnapshotJob> job_;
  std::optional<Subscription<const std::string&>> lines_;
};

}  // namespace vantor
