#include "link/command_catalogue.h"

#include <array>

namespace vantor {

namespace {

constexpr std::array kRows = std::to_array<CommandRow>({
    {0, "reply code only (never sent)"},
    {1, "read the serial receive buffer"},
    {2, "send a string to a serial port"},
    {3, "read the display of the display terminal"},
    {4, "press a terminal key"},
    {5, "set the device clock"},
    {6, "read the device clock"},
    {10, "write a RAM word"},
    {11, "write the system parameter block"},
    {12, "read a RAM word"},
    {14, "weight trace block"},
    {15, "write the weighing-module block"},
    {16, "read the weighing-module block"},
    {17, "read EEPROM bytes"},
    {18, "write EEPROM bytes"},
    {19, "set the simulated weight"},
    {20, "reject command for the selected weight"},
    {21, "read one block of the event log"},
    {22, "read the communication parameter block"},
    {23, "write the communication parameter block"},
    {24, "read the product parameter block"},
    {25, "write the product parameter block"},
    {30, "send a simulated barcode"},
    {31, "write one product"},
    {32, "SetEEprom command of the simulator box"},
    {33, "read the barcode buffer"},
    {34, "read the weighing-module counters"},
    {35, "query selected by SelPeso"},
    {36, "read the zero parameter block"},
    {37, "write the zero parameter block"},
    {38, "read the user logins"},
    {39, "write the user logins"},
    {40, "send a chunk of label data"},
    {41, "finish a label transfer"},
    {42, "read label validity"},
    {43, "read the label error texts"},
    {44, "write the label error texts"},
    {45, "read the sorter parameter block"},
    {46, "write the sorter parameter block"},
    {50, "read the product count or one product"},
    {51, "status poll"},
    {52, "read the system parameter block"},
    {53, "one-byte command of the debug page"},
    {60, "read one product field descriptor"},
    {61, "read the product structure"},
    {62, "read the list of parameter tables"},
    {63, "write the values of one parameter table"},
    {64, "read one parameter descriptor"},
    {69, "start the event-log download"},
    {70, "read the device version"},
    {82, "reset the device"},
});

}  // namespace

std::span<const CommandRow> commandCatalogue() { return kRows; }

const CommandRow* findCommand(int code) {
  for (const CommandRow& row : kRows)
    if (row.code == code) return &row;
  return nullptr;
}

}  // namespace vantor
