#include "access/access_table.h"

#include <algorithm>
#include <array>

namespace vantor {

namespace {

using enum AccessEffect;

constexpr std::array kRows = {
    AccessRow{"SetAuto", 1, Enabled},        // "Save All ->Device", products
    AccessRow{"SetEEprom", 1, Enabled},      // memory access
    AccessRow{"TabQX7", 1, Page},            // remote terminal, clock and serial
    AccessRow{"SetSelProd", 2, Enabled},     // products
    AccessRow{"MkNewProd", 2, Enabled},      // products
    AccessRow{"PanelSave", 2, Enabled},      // parameter save buttons
    AccessRow{"TabPrinter", 2, Page},        // label printer
    AccessRow{"Login", 2, Page},             // user logins
    AccessRow{"SendPrtP", 2, Visible},       // label printer
    AccessRow{"SetErLbP", 2, Visible},       // label printer
    AccessRow{"SetSelLog", 2, Visible},      // user logins
    AccessRow{"Reset", 3, Visible},          // device reset
    AccessRow{"RecOpen", 3, Visible},        // "Open 49000"
    AccessRow{"Reg", 3, Page},               // integrator simulator
    AccessRow{"CallFW", 3, Enabled},         // firmware window
    AccessRow{"GroupComm", 3, Visible},      // serial pass-through
    AccessRow{"SaveAllPar", 3, Visible},     // parameter tables to the device
    AccessRow{"SaveAllDef", 3, Enabled},     // parameter defaults
    AccessRow{"VisSgn", 3, Enabled},         // user logins
    AccessRow{"Label3", 4, Visible},         // poll period read-out
    AccessRow{"AutoFill", 4, Visible},       // line simulator
    AccessRow{"SpeedClk", 4, Visible},       // poll period
    AccessRow{"SimBox", 4, Visible},         // line simulator
    AccessRow{"PanelQX3", 4, Visible},       // weighing module panel
    AccessRow{"MobOpen", 4, Visible},        // "Open 46000"
    AccessRow{"Deb", 4, Page},               // debug page
    AccessRow{"Set0", 4, Visible},           // clock and serial
    AccessRow{"SetFS", 4, Visible},          // clock and serial
    AccessRow{"PanelMob", 4, Visible},       // auxiliary integrator port
    AccessRow{"System", 4, Page},            // "SystemBin", configuration blocks
    AccessRow{"SelAuto", 4, Enabled},        // poll mode selector
    AccessRow{"GetLog", 4, Visible},         // event log download
    AccessRow{"GroupProgFile", 4, Visible},  // product file group
};

}  // namespace

std::span<const AccessRow> accessTable() { return kRows; }

const AccessRow* findAccessRow(std::string_view control) {
  const auto it = std::find_if(kRows.begin(), kRows.end(),
                               [&](const AccessRow& r) { return r.control == control; });
  return it == kRows.end() ? nullptr : &*it;
}

}  // namespace vantor
