#include "access/access_table.h"

#include <algorithm>
#include <array>

namespace vantor {

namespace {

using enum AccessEffect;

constexpr std::array kRows = {
    AccessRow{"SetAuto", 1, Enabled},        // "Save All ->Device", products (2.4)
    AccessRow{"SetEEprom", 1, Enabled},      // memory access (3.4)
    AccessRow{"TabQX7", 1, Page},            // remote terminal, clock and serial (4.1, 4.5)
    AccessRow{"SetSelProd", 2, Enabled},     // products (2.4)
    AccessRow{"MkNewProd", 2, Enabled},      // products (2.4)
    AccessRow{"PanelSave", 2, Enabled},      // parameter save buttons (2.1)
    AccessRow{"TabPrinter", 2, Page},        // label printer (4.2)
    AccessRow{"Login", 2, Page},             // user logins (2.6)
    AccessRow{"SendPrtP", 2, Visible},       // label printer (4.2)
    AccessRow{"SetErLbP", 2, Visible},       // label printer (4.2)
    AccessRow{"SetSelLog", 2, Visible},      // user logins (2.6)
    AccessRow{"Reset", 3, Visible},          // device reset (1.3)
    AccessRow{"RecOpen", 3, Visible},        // "Open 49000" (1.3, 4.3)
    AccessRow{"Reg", 3, Page},               // integrator simulator (4.3)
    AccessRow{"CallFW", 3, Enabled},         // firmware window (3.5)
    AccessRow{"GroupComm", 3, Visible},      // serial pass-through (4.5)
    AccessRow{"SaveAllPar", 3, Visible},     // parameter tables to the device (2.2)
    AccessRow{"SaveAllDef", 3, Enabled},     // parameter defaults (2.1)
    AccessRow{"VisSgn", 3, Enabled},         // user logins (2.6)
    AccessRow{"Label3", 4, Visible},         // poll period read-out (1.3)
    AccessRow{"AutoFill", 4, Visible},       // line simulator (4.4)
    AccessRow{"SpeedClk", 4, Visible},       // poll period (1.3)
    AccessRow{"SimBox", 4, Visible},         // line simulator (4.4)
    AccessRow{"PanelQX3", 4, Visible},       // weighing module panel (4.1)
    AccessRow{"MobOpen", 4, Visible},        // "Open 46000" (1.3, 4.3)
    AccessRow{"Deb", 4, Page},               // debug page (1.5, 3.4, 4.7)
    AccessRow{"Set0", 4, Visible},           // clock and serial (4.5)
    AccessRow{"SetFS", 4, Visible},          // clock and serial (4.5)
    AccessRow{"PanelMob", 4, Visible},       // auxiliary integrator port (4.3)
    AccessRow{"System", 4, Page},            // "SystemBin", configuration blocks (2.3)
    AccessRow{"SelAuto", 4, Enabled},        // poll mode selector (1.3)
    AccessRow{"GetLog", 4, Visible},         // event log download (3.2)
    AccessRow{"GroupProgFile", 4, Visible},  // product file group (2.5)
};

}  // namespace

std::span<const AccessRow> accessTable() { return kRows; }

const AccessRow* findAccessRow(std::string_view control) {
  const auto it = std::find_if(kRows.begin(), kRows.end(),
                               [&](const AccessRow& r) { return r.control == control; });
  return it == kRows.end() ? nullptr : &*it;
}

}  // namespace vantor
