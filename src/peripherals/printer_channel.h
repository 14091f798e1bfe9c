#pragma once
// PrinterChannel: the raw printer channel of the "Printer" page, a plain TCP
// connection (LanPrint) to the device's printer port 47001. "Send" streams the
// loaded label to it at 1000 bytes per tick of TimPr, whose period imitates the
// chosen serial rate (1050 - 160 x rate index ms: 1050 ms at 9600 down to 90 ms
// at 115200). Everything the printer sends back is shown in Memo5.
//
// A connection failure reaches the user as the application's error message.
// "Send" while the printer is not connected, or a connection that ends while
// sending, is said in Memo5 instead of logging a send that never happened.
#include <memory>
#include <string>

#include "link/bounded_log.h"
#include "link/seams.h"
#include "link/shell.h"
#include "peripherals/label_buffer.h"

namespace vantor {

inline constexpr uint16_t kPrinterPort = 47001;
inline constexpr size_t kRawChunk = 1000;
inline constexpr int kRateCount = 7;
// The items of ComboBox1; each but the last ends in a tab.
extern const char* const kRateItems[kRateCount];
int timPrIntervalMs(int rateIndex);

class PrinterChannel {
 public:
  PrinterChannel(Shell& shell, Seams& seams, const LabelBuffer& label, BoundedLog& memo5);
  ~PrinterChannel();
  PrinterChannel(const PrinterChannel&) = delete;
  PrinterChannel& operator=(const PrinterChannel&) = delete;

  void Button2Click(const std::string& host);  // "Conn"
  void PrDiscClick();                          // "Desconn"
  void PrSendClick(int rateIndex);             // "Send"
  void TimPrTimer();

  bool sending() const { return timPr_->enabled(); }
  Socket& lanPrint() { return *lanPrint_; }
  Timer& timPr() { return *timPr_; }

 private:
  class Events;
  void stop(const char* why);
  void changed() { shell_.changed(Area::Printer); }

  Shell& shell_;
  const LabelBuffer& label_;
  BoundedLog& memo5_;
  std::unique_ptr<Socket> lanPrint_;
  std::unique_ptr<Timer> timPr_;
  std::unique_ptr<Events> events_;
  size_t sendPos_ = 0;
};

}  // namespace vantor
