#pragma once
// LineSimulator: the "SimBox" of the product page. It stands in for the
// production line: it injects barcodes as one or two barcode readers would
// read them (command 30) and a weight as the scale would weigh it (command
// 19), numbers serial barcodes from the chosen product's code with an optional
// check digit, and fills the product store with generated test products.
//
// In the poll mode "BarSim" every poll tick sends reader 0's barcode and
// queues the integrator's wake-up message 550.
//
//   code  request                                         reply
//   19    PesoSet, unsigned 16-bit                        not handled
//   30    two readers: index, 02, the barcode, 03         not handled
//         one reader:  02, BarCode0, 03
//
// The box binds to `controls` and repaints on Area::Products.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "config/products.h"
#include "link/command_channel.h"
#include "link/command_feature.h"
#include "link/connection.h"
#include "link/shell.h"
#include "link/signal.h"
#include "peripherals/integrator.h"

namespace vantor {

struct LineSimControls {
  std::string barCode0 = "BarCode";
  std::string barCode1 = "BarCode";
  bool checkBox1 = true;        // "2nd Barcode": two readers; BarCode1 and SetBar1 shown
  bool seqSer = false;          // number serial barcodes
  int lenSer = 8;               // 0 .. 10 serial digits of reader 0
  bool bccOn = false;           // "BCC On": a check digit after reader 0's code
  std::string edit1 = "Edit2";  // the chosen product's code: the serial prefix
  std::string edit3 = "Edit2";  // the chosen product's description, shown only
  int pesoSet = 1000;           // 0 .. 20000 grams
  std::string message;          // what the box has to say about the last code
};

// The check digit of a numeric code: weights 3, 1, 3, ... from the last
// character, digit (10 - sum mod 10) mod 10. None for a code with a character
// that is not a decimal digit.
std::optional<char> checkDigit(std::string_view code);

class LineSimulator final : public CommandFeature {
 public:
  static constexpr int kMaxLenSer = 10;
  static constexpr int kMaxBarcode = 200;  // characters an edit takes, well inside a frame
  static constexpr int kMaxPeso = 20000;
  static constexpr int32_t kWakeUpMessage = 550;

  LineSimulator(Shell& shell, CommandChannel& channel, Connection& connection,
                Integrator& integrator, Products& products, const bool& productsLoaded);

  LineSimControls controls;

  void SetBar0Click();
  void SetBar1Click();
  void CheckBox1Click(bool checked);
  void SeqSerClick(bool checked);
  void SetPesoClick() { channel_.queueCmd(19); }
  void AutoFillClick();

  int32_t serial() const { return serial_; }
  uint8_t readerIndex() const { return readerIndex_; }

  void buildRequest(int code, RequestWriter& out) override;

 private:
  int32_t nextSerial();
  void productChosen(int n);
  void barSimTick();
  void changed() { shell_.changed(Area::Products); }

  Shell& shell_;
  CommandChannel& channel_;
  Integrator& integrator_;
  Products& products_;
  const bool& productsLoaded_;
  int32_t serial_ = 0;
  uint8_t readerIndex_ = 0;
  Subscription<> tick_;
  Subscription<int> chosen_;
};

}  // namespace vantor
