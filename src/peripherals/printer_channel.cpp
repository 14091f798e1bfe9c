#include "peripherals/printer_channel.h"

#include "link/text_format.h"
#include "peripherals/memo_text.h"

namespace vantor {

const char* const kRateItems[kRateCount] = {"9600\t",  "14400\t", "19200\t", "38400\t",
                                            "56000\t", "57600\t", "115200"};

int timPrIntervalMs(int rateIndex) {
  if (rateIndex < 0) rateIndex = 0;
  if (rateIndex >= kRateCount) rateIndex = kRateCount - 1;
  return 1050 - 160 * rateIndex;
}

class PrinterChannel::Events final : public SocketListener {
 public:
  explicit Events(PrinterChannel& c) : c_(c) {}
  void socketConnected() override {
    c_.memo5_.append("Connect Pr");
    c_.changed();
  }
  void socketDisconnected() override {
    c_.memo5_.append("Disconnect Pr");
    c_.stop("Send Pr stopped: the printer disconnected");
    c_.changed();
  }
  void socketRead(ByteView bytes) override {
    appendMemoText(c_.memo5_, asText(bytes));
    c_.changed();
  }
  // A close by the printer is a disconnect, told by the event that follows.
  void socketClosedByPeer(const std::string&) override {}
  void socketError(const std::string& why) override {
    c_.lanPrint_->close();
    c_.stop("Send Pr stopped: the printer connection failed");
    c_.shell_.alert(format("Printer port %u: %s", kPrinterPort, why.c_str()));
  }

 private:
  PrinterChannel& c_;
};

PrinterChannel::PrinterChannel(Shell& shell, Seams& seams, const LabelBuffer& label,
                               BoundedLog& memo5)
    : shell_(shell),
      label_(label),
      memo5_(memo5),
      lanPrint_(seams.makeSocket()),
      timPr_(seams.makeTimer()),
      events_(std::make_unique<Events>(*this)) {
  lanPrint_->setListener(events_.get());
  timPr_->setCallback([this] { TimPrTimer(); });
  timPr_->setInterval(timPrIntervalMs(0));
}

PrinterChannel::~PrinterChannel() { lanPrint_->setListener(nullptr); }

void PrinterChannel::Button2Click(const std::string& host) {
  lanPrint_->open(host, kPrinterPort);
  shell_.log("Connect Pr");
}

void PrinterChannel::PrDiscClick() {
  lanPrint_->close();
  shell_.log("Disconnect Pr");
}

void PrinterChannel::stop(const char* why) {
  if (!timPr_->enabled()) return;
  timPr_->setEnabled(false);
  memo5_.append(why);
}

void PrinterChannel::PrSendClick(int rateIndex) {
  if (!lanPrint_->connected()) {
    memo5_.append("Send Pr: the printer is not connected (Conn)");
    changed();
    return;
  }
  timPr_->setInterval(timPrIntervalMs(rateIndex));
  timPr_->setEnabled(true);
  sendPos_ = 0;
  TimPrTimer();
  memo5_.append("Send Pr");
  changed();
}

void PrinterChannel::TimPrTimer() {
  if (!timPr_->enabled()) return;
  size_t n = 0;
  while (n < kRawChunk && label_.at(sendPos_ + n) != 0) ++n;
  if (n > 0) lanPrint_->write(label_.span(sendPos_, n));
  sendPos_ += n;
  if (label_.at(sendPos_) == 0) {
    timPr_->setEnabled(false);
    memo5_.append("Send Pr ok");
  }
  changed();
}

}  // namespace vantor
