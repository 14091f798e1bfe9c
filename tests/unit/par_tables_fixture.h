#pragma once
// A Device on fake seams with a hand-written table device behind its main
// socket: the three tables of 5, 0 and 2 parameters used throughout.
#include "link_fixture.h"
#include "table_device.h"

namespace vantor::test {

struct ParTablesFixture : LinkFixture {
  TableDevice dev;
  uint8_t access = 0;

  ParTablesFixture() {
    dev.tables = {
        {"Pesagem",
         0,
         {{"Alvo", "peso alvo", "g", 10, 5000, 500, 500},
          {"Tolerancia", "tolerancia", "g", 0, 50, 5, 7},
          {"Maximo", "maximo absoluto", "g", 0, 4294967295u, 4294967295u, 4294967295u},
          {"Filtro", "filtro", "", 1, 9, 12, 3},  // default outside the limits
          {"Atraso", "atraso", "ms", 0, 1000, 100, 250}}},
        {"Vazia", 1, {}},
        {"Servico", 2, {{"Modo", "modo", "", 0, 3, 1, 2}, {"Senha", "senha", "", 0, 999, 0, 123}}},
    };
    device.parTables.accessLevel = [this] { return access; };
  }

  ParTables& tables() { return device.parTables; }
  ParTablesControls& page() { return device.parTables.controls; }

  // Connects, then runs "Read All" against the device to its end; returns
  // the (table, row) of every command 64 it took.
  std::vector<std::pair<int, int>> readAll() {
    connectMain();
    device.channel.clearQueue();
    tables().GetAllParClick();
    device.channel.sendNextCmd();
    dev.serve(lan2());
    const auto asked = dev.descriptorRequests();
    dev.requests.clear();
    return asked;
  }
  // Sends what was queued by a click and serves it and whatever it chains.
  void serve() {
    device.channel.sendNextCmd();
    dev.serve(lan2());
  }
  std::vector<std::string> cells() const {
    std::vector<std::string> out;
    for (const ParGridRow& row : device.parTables.controls.gridParTabs) out.push_back(row.value);
    return out;
  }
};

}  // namespace vantor::test
