#pragma once
// A Device on fake seams with the hand-written product device behind its main
// socket: the three products of the layout used throughout.
#include "link_fixture.h"
#include "product_device.h"

namespace vantor::test {

struct ProductsFixture : LinkFixture {
  ProductDevice dev;
  Products& products() { return device.products; }
  ProductsControls& page() { return device.products.controls; }
  ProdStore& store() { return device.products.store(); }

  // Connects, then runs "Get All Struct" against the device to its end.
  void readAll() {
    connectMain();
    device.channel.clearQueue();
    products().GetHDProdClick();
    serve();
    dev.requests.clear();
  }
  // Sends what was queued and serves it and whatever it chains.
  void serve(size_t limit = SIZE_MAX) {
    device.channel.sendNextCmd();
    dev.serve(lan2(), limit);
  }
  std::vector<std::string> cells() const {
    std::vector<std::string> out;
    for (const ParGridRow& row : device.products.controls.prodGrid) out.push_back(row.value);
    return out;
  }
  void setCells(const std::vector<std::string>& values) {
    for (size_t r = 0; r < values.size(); ++r) page().prodGrid.at(r).value = values[r];
  }
};

}  // namespace vantor::test
