#pragma once
// Whether the six configuration blocks may be backed up. A block holds the
// device's values only once its read reply has arrived whole or a block backup
// has been loaded; until then it holds the zeros it started with, and a backup
// of those, restored later, would overwrite the device's settings with zeros.
//
// BlockBackupGuard follows the replies of the main port and is told of backup
// loads; blockBackupRefusal() says why a backup must wait and what to read.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "config/config_block.h"
#include "link/command_channel.h"
#include "link/signal.h"

namespace vantor {

class BlockBackupGuard {
 public:
  // Follows the channel's replies from now on; the channel must outlive the guard.
  explicit BlockBackupGuard(CommandChannel& channel);
  BlockBackupGuard(const BlockBackupGuard&) = delete;
  BlockBackupGuard& operator=(const BlockBackupGuard&) = delete;

  // A reply of the main port with this many payload bytes. The read reply of
  // a block fills it when it carries the whole block; a shorter one leaves
  // zeros in its place, so the block counts as not read again.
  void replyArrived(int code, size_t payloadBytes);
  // A block backup was loaded: it filled all six blocks.
  void backupLoaded();

  bool filled(BlockId id) const { return filled_[index(id)]; }
  // The blocks not filled yet, in the order of the backup file.
  std::vector<BlockId> missing() const;

 private:
  std::array<bool, kBlockCount> filled_{};
  Subscription<int, ByteView> replies_;
};

// Why a backup of the blocks must not be written while these are missing,
// naming the buttons that read them; nothing when none is missing.
std::optional<std::string> blockBackupRefusal(const std::vector<BlockId>& missing);

}  // namespace vantor
