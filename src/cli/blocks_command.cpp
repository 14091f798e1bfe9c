#include "cli/blocks_command.h"

#include <CLI/CLI.hpp>
#include <algorithm>

#include "link/text_format.h"

namespace vantor {

namespace {

bool allZero(const BlockValues& blocks) {
  return std::all_of(blocks.begin(), blocks.end(), [](const std::vector<uint32_t>& values) {
    return std::all_of(values.begin(), values.end(), [](uint32_t v) { return v == 0; });
  });
}

}  // namespace

void BlocksCommand::addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen) {
  CLI::App* blocks = app.add_subcommand("blocks", "The six configuration blocks.");
  blocks->require_subcommand(1);

  CLI::App* backup = blocks->add_subcommand(
      "backup", "Read the six configuration blocks into a 340-byte backup file.");
  auto backupPath = std::make_shared<std::string>();
  backup->add_option("FILE", *backupPath, "the block backup file")->required();
  backup->callback([&chosen, backupPath] {
    chosen = std::make_unique<BlocksCommand>(true, *backupPath, false);
  });

  CLI::App* restore = blocks->add_subcommand(
      "restore",
      "Load a 340-byte backup file and write the six blocks. A file that cannot be read or is "
      "refused writes nothing; a file of zeros only is refused unless --force is given.");
  auto restorePath = std::make_shared<std::string>();
  auto force = std::make_shared<bool>(false);
  restore->add_option("FILE", *restorePath, "the block backup file")->required();
  restore->add_flag("--force", *force,
                    "write a file of zeros only as well (it wipes the six blocks)");
  restore->callback([&chosen, restorePath, force] {
    chosen = std::make_unique<BlocksCommand>(false, *restorePath, *force);
  });
}

void BlocksCommand::prepare(CtlSession& session) {
  if (backup_) return;
  ConfigBlocks& blocks = session.device().configBlocks;
  if (!blocks.GetParFileClick(path_)) {
    session.fail(kExitFile, blocks.controls.message);
  } else if (!force_ && allZero(blocks.blocks())) {
    // What a device that answered without data leaves in a backup: written
    // back, it would set every value of the six blocks to zero.
    session.fail(kExitFile, path_ +
                                ": every byte is zero; restoring it would wipe the six blocks; "
                                "nothing written (--force writes it all the same)");
  }
}

void BlocksCommand::connected(CtlSession& session) {
  ConfigBlocks& blocks = session.device().configBlocks;
  if (backup_) {
    for (BlockId id : kBackupOrder) blocks.GetClick(id);
  } else {
    blocks.SetAllParClick();
  }
  showProgress(session);
}

void BlocksCommand::showProgress(CtlSession& session) const {
  if (answered_ >= kBlockCount) return;
  session.progress(format("%s block %zu of %zu (%s)", backup_ ? "Reading" : "Writing",
                          answered_ + 1, kBlockCount, blockLayout(kBackupOrder[answered_]).block));
}

void BlocksCommand::replied(CtlSession& session, int code, ByteView) {
  const BlockLayout* layout = backup_ ? blockByReadCode(code) : blockByWriteCode(code);
  if (!layout) return;
  ++answered_;
  showProgress(session);
  if (answered_ < kBlockCount) return;
  ConfigBlocks& blocks = session.device().configBlocks;
  if (!backup_ || blocks.SaveParFileClick(path_))
    session.finish(kExitOk);
  else
    session.fail(kExitFile, blocks.controls.message);
}

}  // namespace vantor
