#include "cli/blocks_command.h"

namespace vantor {

std::optional<BlocksCommand> BlocksCommand::parse(const std::vector<std::string>& words,
                                                  std::string& error) {
  if (words.size() != 2 || (words[0] != "backup" && words[0] != "restore")) {
    error = "blocks needs backup FILE or restore FILE";
    return std::nullopt;
  }
  BlocksCommand c;
  c.backup_ = words[0] == "backup";
  c.path_ = words[1];
  return c;
}

void BlocksCommand::connected(CtlSession& session) {
  ConfigBlocks& blocks = session.device().configBlocks;
  if (backup_) {
    for (BlockId id : kBackupOrder) blocks.GetClick(id);
    return;
  }
  if (!blocks.GetParFileClick(path_)) {
    session.fail(kExitFile, blocks.controls.message);
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
