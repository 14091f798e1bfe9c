#include "peripherals/qx3_panel.h"

#include <array>

namespace vantor {

namespace {

constexpr std::array<const char*, 27> kCommands{
    "SCC - Serial Communication Configuration",
    "IZA - Internal Zero Adjust",
    "IFA - Internal Full Scale Adjust",
    "LCC - Linearization Coefficients Configure",
    "UZA - User Zero Adjust",
    "UFA -  User Full Scale Adjust",
    "UCW - User Calibration Weight",
    "UNV - User Nominal Value",
    "SRS - Sample Rate Selection",
    "DFP - Digital Filter Parameters",
    "MDI - Moving Detection Indicator",
    "AZT -  Automatic Zero Tracking",
    "MVO - Measured Value Output",
    "SMV - Stop Measured Value Output",
    "TAR - Tare",
    "TVA - Tare Value",
    "TMS - Tare Mode Selection",
    "RES - Resolution",
    "NRP - Non-volatile RAM Parameters",
    "ZUS - Zero User Set",
    "VER - Firmware Revision",
    "SNB - Serial Number",
    "TRG - Trigger Configuration",
    "TVO - Trigger Measured Valor Output",
    "PWD - Password Entry",
    "DPW - Define Password",
    "PRO - Prompt On/Off",
};

constexpr size_t kLetters = 3;  // only the command's letters are ever sent

}  // namespace

std::span<const char* const> qx3Commands() { return kCommands; }

void Qx3Panel::GetStParClick() { query("?"); }
void Qx3Panel::SetStParClick() { query(controls.qx3SetPar); }

void Qx3Panel::query(const std::string& suffix) {
  if (controls.cmdList < 0 || static_cast<size_t>(controls.cmdList) >= kCommands.size()) return;
  panelQuery_ = true;
  passThrough_ = std::string(kCommands[static_cast<size_t>(controls.cmdList)], kLetters) + suffix;
  channel_.queueCmd(2);
}

void Qx3Panel::answered(const std::string& text) {
  panelQuery_ = false;
  controls.qx3Par = text;
  shell_.changed(Area::Qx3Panel);
}

void Qx3Panel::abandon() { panelQuery_ = false; }

}  // namespace vantor
