#include "link/command_catalogue.h"

#include <array>

namespace vantor {

namespace {

using F = Feature;

constexpr std::array kRows = std::to_array<CommandRow>({
    {0, "reply code only (never sent)", F::None, F::LiveStatus},
    {1, "read the serial receive buffer", F::None, F::None},
    {2, "send a string to a serial port", F::None, F::None},
    {3, "read the display of the display terminal", F::None, F::None},
    {4, "press a terminal key", F::None, F::None},
    {5, "set the device clock", F::None, F::None},
    {6, "read the device clock", F::None, F::None},
    {10, "write a RAM word", F::None, F::None},
    {11, "write the system parameter block", F::ConfigBlocks, F::None},
    {12, "read a RAM word", F::None, F::None},
    {14, "weight trace block", F::None, F::None},
    {15, "write the weighing-module block", F::ConfigBlocks, F::None},
    {16, "read the weighing-module block", F::None, F::ConfigBlocks},
    {17, "read EEPROM bytes", F::None, F::None},
    {18, "write EEPROM bytes", F::None, F::None},
    {19, "set the simulated weight", F::None, F::None},
    {20, "reject command for the selected weight", F::None, F::None},
    {21, "read one block of the event log", F::None, F::None},
    {22, "read the communication parameter block", F::None, F::ConfigBlocks},
    {23, "write the communication parameter block", F::ConfigBlocks, F::None},
    {24, "read the product parameter block", F::None, F::ConfigBlocks},
    {25, "write the product parameter block", F::ConfigBlocks, F::None},
    {30, "send a simulated barcode", F::None, F::None},
    {31, "write one product", F::None, F::None},
    {32, "SetEEprom command of the simulator box", F::None, F::None},
    {33, "read the barcode buffer", F::None, F::None},
    {34, "read the weighing-module counters", F::None, F::PesoCounters},
    {35, "query selected by SelPeso", F::None, F::None},
    {36, "read the zero parameter block", F::None, F::ConfigBlocks},
    {37, "write the zero parameter block", F::ConfigBlocks, F::None},
    {38, "read the user logins", F::None, F::None},
    {39, "write the user logins", F::None, F::None},
    {40, "send a chunk of label data", F::None, F::None},
    {41, "finish a label transfer", F::None, F::None},
    {42, "read label validity", F::None, F::None},
    {43, "read the label error texts", F::None, F::None},
    {44, "write the label error texts", F::None, F::None},
    {45, "read the sorter parameter block", F::None, F::ConfigBlocks},
    {46, "write the sorter parameter block", F::ConfigBlocks, F::None},
    {50, "read the product count or one product", F::None, F::None},
    {51, "status poll", F::None, F::LiveStatus},
    {52, "read the system parameter block", F::None, F::ConfigBlocks},
    {53, "one-byte command of the debug page", F::None, F::None},
    {60, "read one product field descriptor", F::None, F::None},
    {61, "read the product structure", F::None, F::None},
    {62, "read the list of parameter tables", F::None, F::ParTables},
    {63, "write the values of one parameter table", F::ParTables, F::ParTables},
    {64, "read one parameter descriptor", F::ParTables, F::ParTables},
    {69, "start the event-log download", F::None, F::None},
    {70, "read the device version", F::None, F::LiveStatus},
    {82, "reset the device", F::None, F::None},
});

}  // namespace

std::span<const CommandRow> commandCatalogue() { return kRows; }

const CommandRow* findCommand(int code) {
  for (const CommandRow& row : kRows)
    if (row.code == code) return &row;
  return nullptr;
}

}  // namespace vantor
