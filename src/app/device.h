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
#include "config/prod_file_group.h"
#include "config/products.h"
#include "config/user_logins.h"
#include "link/command_channel.h"
#include "link/connection.h"
#include "link/guarded_seams.h"
#include "link/seams.h"
#include "link/shell.h"
#include "link/traffic_log.h"
#include "monitor/event_log.h"
#include "monitor/memory_access.h"
#include "monitor/peso_counters.h"
#include "monitor/weight_trace.h"
#include "peripherals/aux_socket.h"
#include "peripherals/clock_serial.h"
#include "peripherals/integrator.h"
#include "peripherals/label_printer.h"
#include "peripherals/line_simulator.h"
#include "peripherals/printer_channel.h"
#include "peripherals/qx3_panel.h"
#include "peripherals/remote_terminal.h"

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
  // The "QX7" page's terminal, clock and serial pass-through, and the weight
  // page's QX3 panel, which rides on the serial pass-through.
  RemoteTerminal terminal{shell, channel};
  Qx3Panel qx3Panel{shell, channel};
  ClockSerial clockSerial{shell, channel, seams.clock(), qx3Panel};

  // The "Deb" page's diagnosis tools and the main port's traffic log.
  EventLog eventLog{shell, channel, seams.clock(), connection.controls, liveStatus.version()};
  MemoryAccess memoryAccess{shell, channel};
  AuxSocket auxSocket{shell, channel, seams, connection.controls};
  TrafficLog traffic{channel, seams.clock()};

  // The "Sim Integrador" page and the "Printer" page with its raw printer channel.
  Integrator integrator{shell, channel, connection, seams.clock()};
  LabelPrinter labelPrinter{shell, channel, integrator};
  PrinterChannel printerChannel{shell, seams, labelPrinter.label(), labelPrinter.controls.memo5};
  // The "Produto" page's products and their file group.
  Products products{shell, channel, productsLoaded, tablesLoaded, parTables.store()};
  ProdFileGroup prodFile{shell, products};
  // The "Produto" page's line simulator box.
  LineSimulator lineSimulator{shell, channel, connection, integrator, products, productsLoaded};
  // The "Peso" page: the weight trace, its charts' ranges and its recording.
  WeightTrace weightTrace{connection, liveStatus, configBlocks};
  // The "Login" page: the device's ten user accounts.
  UserLogins userLogins{shell, channel};

 private:
  void bindCommands();
  void mainDisconnected();
};

}  // namespace vantor
