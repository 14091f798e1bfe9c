#include "cli/blocks_command.h"

#include <CLI/CLI.hpp>

namespace vantor {

void BlocksCommand::addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen) {
  CLI::App* blocks = app.add_subcommand("blocks", "The six configuration blocks.");
  blocks->require_subcommand(1);
  struct FileAction {
    const char* name;
    bool backup;
    const char* help;
  };
  const FileAction fileActions[] = {
      {"backup", true, "Read the six configuration blocks into a 340-byte backup file."},
      {"restore", false,
       "Load a 340-byte backup file and write the six blocks. A file that cannot be read or is "
       "refused writes nothing."},
  };
  for (const FileAction& f : fileActions) {
    CLI::App* sub = blocks->add_subcommand(f.name, f.help);
    auto path = std::make_shared<std::string>();
    sub->add_option("FILE", *path, "the block backup file")->required();
    sub->callback([&chosen, path, backup = f.backup] {
      chosen = std::make_unique<BlocksCommand>(backup, *path);
    });
  }
}

void BlocksCommand::prepare(CtlSession& session) {
  if (backup_) return;
  ConfigBlocks& blocks = session.device().configBlocks;
  if (!blocks.GetParFileClick(path_)) session.fail(kExitFile, blocks.controls.message);
}

void BlocksCommand::connected(CtlSession& session) {
  ConfigBlocks& blocks = session.device().configBlocks;
  if (backup_) {
    for (BlockId id : kBackupOrder) blocks.GetClick(id);
    return;
  }
  blocks.SetAllParClick();
}

void BlocksCommand::replied(CtlSession& session, int code, ByteView) {
  const BlockLayout* layout = backup_ ? blockByReadCode(code) : blockByWriteCode(code);
  if (!layout || ++answered_ < kBlockCount) return;
  ConfigBlocks& blocks = session.device().configBlocks;
  if (!backup_ || blocks.SaveParFileClick(path_))
    session.finish(kExitOk);
  else
    session.fail(kExitFile, blocks.controls.message);
}

}  // namespace vantor
