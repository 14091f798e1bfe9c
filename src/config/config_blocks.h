#pragma once
// ConfigBlocks: the six configuration blocks on the "SystemBin" page. Each
// "Get" button queues the block's read command, each "Set" button its write
// command; the write takes the grid's cells into the block when the request
// is built, not at the click. The BkBox buttons back all six blocks up to
// BlockBackupFile, load them from it, and write all six.
//
// The page binds each grid (column 0 from blockLayout(id).rowNames, column 1
// from controls.cells[id]) and repaints on Area::ConfigBlocks; a cell edit goes
// into controls.cells when it ends.
#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "config/config_block.h"
#include "link/command_channel.h"
#include "link/command_feature.h"
#include "link/shell.h"

namespace vantor {

struct ConfigBlocksControls {
  // Column 1 of each grid, indexed by BlockId, one cell per row shown.
  std::array<std::vector<std::string>, kBlockCount> cells;
  // The cell that kept the last write from being sent (row -1: none).
  BlockId badBlock = BlockId::Sys;
  int badRow = -1;
  // What the last read, write, file action or refused write has to say.
  std::string message;
  // Each grid holds what the device connected now sent, or a file's values;
  // false from the end of the main link until read again (the window greys it).
  std::array<bool, kBlockCount> current{};
};

class ConfigBlocks final : public CommandFeature {
 public:
  ConfigBlocks(Shell& shell, CommandChannel& channel);

  ConfigBlocksControls controls;

  // The twelve Get/Set buttons: blockLayout(id).getButton / setButton.
  void GetClick(BlockId id);
  void SetClick(BlockId id);
  // BkBox.
  // "SaveParFile": replaces the file as a whole; false when it cannot be
  // written, and then the old file is left as it was.
  bool SaveParFileClick(const std::string& path);
  // "GetParFile": loads a file of exactly 340 bytes (nothing else is loaded;
  // a longer file or anything but a regular file is refused unread),
  // then refreshes all six grids from the blocks, also when the dialog was
  // cancelled (no path). True when the file was loaded.
  bool GetParFileClick(const std::optional<std::string>& path);
  // Takes a backup image read beforehand (name: its file, for the message)
  // and refreshes the grids from it. False, and nothing taken, unless it is
  // exactly 340 bytes.
  bool takeBackupImage(ByteView image, const std::string& name);
  void SetAllParClick();  // "SetAllPar"

  std::span<const uint32_t> values(BlockId id) const { return blocks_[index(id)]; }
  const BlockValues& blocks() const { return blocks_; }

  void buildRequest(int code, RequestWriter& out) override;
  void handleReply(int code, PayloadReader& payload) override;
  void requestEnded(int code, RequestEnd end) override;
  void mainDisconnected();

 private:
  void showBlock(BlockId id);
  void changed() { shell_.changed(Area::ConfigBlocks); }

  Shell& shell_;
  CommandChannel& channel_;
  BlockValues blocks_;
};

}  // namespace vantor
