#pragma once
// The composition root: owns every feature of the tool and wires them to the
// main port's commands and to the connection's events. The window and the
// command-line tool each own one Device.
#include <memory>

#include "access/access_control.h"
#include "app/live_status.h"
#include "config/block_backup_guard.h"
#include "config/config_blocks.h"
#include "config/par_table_file_group.h"
#include "config/par_tables.h"
#include "link/command_channel.h"
#include "link/connection.h"
#include "link/guarded_seams.h"
#include "link/seams.h"
#include "link/shell.h"
#include "monitor/peso_counters.h"
#include "monitor/weight_trace.h"

namespace vantor {

class Device {
 public:
  explicit Device(Seams& platform);
  Device(const Device&) = delete;
  Device& operator=(const Device&) = delete;

  Shell shell;
  // Sockets, timers and the clock of every feature, the connection's and those
  // created later alike; their events run guarded.
  GuardedSeams seams;

  CommandChannel channel;
  Connection connection;
  LiveStatus liveStatus;
  AccessControl access;

  // Flags cleared whenever the main connection ends.
  bool tablesLoaded = false;
  bool productsLoaded = false;

  // The "System" page's parameter tables and their file group, the
  // "SystemBin" page's configuration blocks and weighing-module counters.
  ParTables parTables{shell, channel, tablesLoaded};
  ParTableFileGroup parTableFile{shell, parTables, connection.controls, liveStatus.version()};
  ConfigBlocks configBlocks{shell, channel};
  BlockBackupGuard blockBackupGuard{channel};  // no backup of blocks never read
  PesoCounters pesoCounters{shell, channel};
  // The "Peso" page: the weight trace, its charts' ranges and its recording.
  WeightTrace weightTrace{connection, liveStatus, configBlocks};

 private:
  void bindCommands();
  void mainDisconnected();
};

}  // namespace vantor
