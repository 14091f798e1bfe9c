#pragma once
// Products: the "Produto" page's product store. Downloads the structure (61),
// one descriptor per field (60), the count and every product (50) in one
// self-chaining sweep, lists the products, shows one in the grid with its
// help and range, checks edits against the limits, prepares new products and
// writes one product or all of them back (31).
//
// The page binds to `controls` (named after its widgets) and repaints on
// Area::Products; an edit of the grid's value column is written into
// controls.prodGrid[row].value when it ends and read by "Set Sel Prod".
//
// Other features use the store through store(), showProduct(), extendTo()
// and the productChosen signal (the line simulator takes the chosen
// product's texts, its AutoFill fills the store).
#include <cstddef>
#include <string>
#include <vector>

#include "config/par_table_store.h"
#include "config/par_tables.h"
#include "config/prod_store.h"
#include "link/command_channel.h"
#include "link/command_feature.h"
#include "link/shell.h"
#include "link/signal.h"

namespace vantor {

struct ProductsControls {
  std::vector<ParGridRow> prodGrid;  // ProdGrid: names, and the shown product's values
  int gridRow = 0;                   // the grid's current row
  std::string prodGridHint;          // the shown product's list entry
  std::string helpParProd = "HelpPar";
  std::string rangeParProd = "RangePar";
  bool panelProdVisible = false;         // PanelProd: from the first structure on
  std::vector<std::string> listBoxProd;  // one entry per product; its index is the number
  int listBoxProdIndex = -1;             // the chosen entry, -1 for none
  std::string listBoxProdHint;           // the structure's title
  std::string hedProg = "HedProg";       // "Nº Prod: N"
  std::string progress;                  // "Reading product 37 of 120"; empty when idle
  std::string message;                   // what the last action has to say
  int badRow = -1;                       // the grid row "Set Sel Prod" refused last
  // The products were read from the device connected now; false from the end
  // of the main link until they are read again.
  bool current = false;
};

class Products final : public CommandFeature {
 public:
  // productsLoaded: the shared flag that reply 61 sets and the end of the main
  // connection clears; tablesLoaded and tables: the parameter tables, whose
  // list (62) gives the descriptors' text widths.
  Products(Shell& shell, CommandChannel& channel, bool& productsLoaded, const bool& tablesLoaded,
           const ParTableStore& tables);

  ProductsControls controls;

  // User actions of the page.
  void GetHDProdClick();   // "Get All Struct"
  void GetProgClick();     // "Get All Product"
  void GetSelProdClick();  // "Get Sel Prod"
  // "Set Sel Prod": raises CellConversionError at the first integer cell that
  // is no number (nothing stored, nothing queued).
  void SetSelProdClick();
  void MkNewProdClick();  // "Mk New Prod"
  void SetAutoClick();    // "Save All ->Device"
  void ListBoxProdChange(int index);
  void ProdGridSelectCell(int row);

  // Shows product n in the grid (nothing for n < 0 or past the store).
  void showProduct(int n);
  // Raises ProdCount to n (within the store), appending one list entry per new
  // product, labelled with its text field 1.
  void extendTo(size_t n);
  // The connection ended: sweeps abandoned, the values marked not current.
  void mainDisconnected();

  const ProdStore& store() const { return store_; }
  ProdStore& store() { return store_; }
  bool productsLoaded() const { return productsLoaded_; }
  // A sweep (structure, products or writing all) is under way.
  bool busy() const {
    return structureAwaited_ || readingFields_ || productAwaited_ || readAll_ || writeAll_;
  }
  int selectedProduct() const { return selected_; }

  // ListBoxProdChange: the number of the product chosen.
  Signal<int> productChosen;

  void buildRequest(int code, RequestWriter& out) override;
  void handleReply(int code, PayloadReader& payload) override;
  void requestEnded(int code, RequestEnd end) override;

 private:
  void structureReply(PayloadReader& payload);
  void descriptorReply(PayloadReader& payload);
  void productReply(PayloadReader& payload);
  void countReply(PayloadReader& payload);
  void recordReply(PayloadReader& payload);
  void productWritten();
  void requestDescriptor();
  void requestProduct();
  bool refusedWhileDisconnected();
  void showHelpAndRange(int row);
  void setListEntry(size_t n);
  void changed() { shell_.changed(Area::Products); }

  Shell& shell_;
  CommandChannel& channel_;
  bool& productsLoaded_;
  const bool& tablesLoaded_;
  const ParTableStore& tables_;
  ProdStore store_;
  size_t fieldCursor_ = 0;  // next command 60
  size_t readCursor_ = 0;   // next command 50; 500 asks for the count
  size_t writeCursor_ = 0;  // next command 31 while writeAll_
  int selected_ = 0;        // SelectedProduct: the product of a single command 31
  std::string writeNote_;   // the cells "Set Sel Prod" put back, for its written message
  bool structureAwaited_ = false;
  bool readingFields_ = false;
  bool productAwaited_ = false;  // a command 50 is on its way
  bool readAll_ = false;         // ReadAllProducts
  bool writeAll_ = false;        // WriteAllProducts
};

}  // namespace vantor
