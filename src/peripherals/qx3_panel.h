#pragma once
// The weighing-module panel PanelQX3: a three-letter command of CmdList is
// sent to the module through the serial pass-through (command 2, with the
// Comm group's port and end character) and the module's answer, read back by
// command 1, is shown in QX3Par. The panel-query flag says that the next
// serial answer belongs to this panel; while it is set, command 2 sends the
// pass-through text, whoever queued it.
#include <span>
#include <string>

#include "link/command_channel.h"
#include "link/shell.h"

namespace vantor {

struct Qx3PanelControls {
  int cmdList = -1;       // the chosen item of CmdList; -1: none
  std::string qx3Par;     // the module's last answer
  std::string qx3SetPar;  // the value "SetStPar" writes
};

// The module's commands in CmdList order: the three letters, " - ", what it does.
std::span<const char* const> qx3Commands();

class Qx3Panel {
 public:
  // The pass-through text travels in a buffer of 41 characters and a zero.
  static constexpr size_t kPassThroughMax = 41;

  Qx3Panel(Shell& shell, CommandChannel& channel) : shell_(shell), channel_(channel) {}

  Qx3PanelControls controls;

  // Query the chosen setting ("VER" gives "VER?") or write QX3SetPar to it
  // ("UCW" and 2000 give "UCW2000"). With no item chosen nothing happens.
  void GetStParClick();
  void SetStParClick();

  bool panelQuery() const { return panelQuery_; }
  const std::string& passThrough() const { return passThrough_; }
  // The module's answer arrived: the flag is cleared and QX3Par shows it.
  void answered(const std::string& text);
  // The answer will not come (its request was not sent or not answered).
  void abandon();

 private:
  void query(const std::string& suffix);

  Shell& shell_;
  CommandChannel& channel_;
  bool panelQuery_ = false;
  std::string passThrough_;
};

}  // namespace vantor
