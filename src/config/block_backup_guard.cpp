#include "config/block_backup_guard.h"

#include "link/frame.h"

namespace vantor {

namespace {
// The payload of a reply frame starts after its ACK byte and ends before the trailer.
size_t payloadSize(ByteView frame) {
  return frame.size() > frame::kOverhead ? frame.size() - frame::kOverhead - 1 : 0;
}
}  // namespace

BlockBackupGuard::BlockBackupGuard(CommandChannel& channel)
    : replies_(channel.onReply,
               [this](int code, ByteView frame) { replyArrived(code, payloadSize(frame)); }) {}

void BlockBackupGuard::replyArrived(int code, size_t payloadBytes) {
  if (const BlockLayout* layout = blockByReadCode(code))
    filled_[index(layout->id)] = payloadBytes >= layout->bytes();
}

void BlockBackupGuard::backupLoaded() { filled_.fill(true); }

std::vector<BlockId> BlockBackupGuard::missing() const {
  std::vector<BlockId> out;
  for (BlockId id : kBackupOrder)
    if (!filled(id)) out.push_back(id);
  return out;
}

std::optional<std::string> blockBackupRefusal(const std::vector<BlockId>& missing) {
  if (missing.empty()) return std::nullopt;
  std::string buttons;
  for (size_t i = 0; i < missing.size(); ++i) {
    if (i > 0) buttons += i + 1 == missing.size() ? " and " : ", ";
    buttons += blockLayout(missing[i]).getButton;
  }
  return "Not saved: read " + buttons +
         " first (or load a block backup with GetParFile). A backup of blocks never read would "
         "hold zeros, and restoring it would write zeros to the device.";
}

}  // namespace vantor
