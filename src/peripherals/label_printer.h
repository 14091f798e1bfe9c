#pragma once
// LabelPrinter: the "Printer" page. It loads a label template and uploads it
// to a label memory position of the device, over the main port (commands 40
// and 41, 1000-byte chunks) or over the integrator link (messages 543 and 544,
// 500-byte chunks); it reads the label validity table (42) and reads and
// writes the seven reject-label texts (43, 44; message 545 over the
// integrator link).
//
// The page shows `controls` and repaints on Area::Printer; GridErLb column 1
// edits go into controls.erLbTexts when they end.
#include <array>
#include <string>
#include <vector>

#include "link/bounded_log.h"
#include "link/command_channel.h"
#include "link/command_feature.h"
#include "link/shell.h"
#include "link/signal.h"
#include "peripherals/label_buffer.h"
#include "peripherals/reject_labels.h"

namespace vantor {

class Integrator;

enum class PrtState { Void, Ready, Sent, Error };
const char* prtStateText(PrtState state);  // "Void", "Ready", "Sent", "Error"
// Button face for Void and Ready, lime green for Sent, red for Error.
Colour prtStateColour(PrtState state);

// The placeholders a template may hold, as Memo6 lists them under its heading.
const std::vector<std::string>& validPlaceholderLines();

struct LabelPrinterControls {
  static constexpr size_t kGridRows = kRejectSlots + 1;  // row 0 is the header
  PrtState msgPrt = PrtState::Void;
  int labelId = 0;           // "POS MEM", 0 .. 8
  int labelIdProd = 1;       // "ID Etiqueta", 1 .. 100
  bool sendEnabled = false;  // "Send Label" and "Send Label P"
  std::string progress;      // "chunk 3 of 12" while an upload runs
  ValidityTable validity{};  // GridPrValid
  // GridErLb: column 0 the values, column 1 the texts; row 0 is the header.
  std::array<std::string, kGridRows> erLbValues;
  std::array<std::string, kGridRows> erLbTexts;
  int comboBox1 = 0;        // the raw channel's rate, 0 (9600) .. 6 (115200)
  BoundedLog memo5{20000};  // the label text, the raw channel's events and replies
};

class LabelPrinter final : public CommandFeature {
 public:
  static constexpr size_t kChunk = 1000;     // command 40
  static constexpr size_t kChunkP = 500;     // message 543
  static constexpr int kLabelPositions = 9;  // LabelID 0 .. 8

  LabelPrinter(Shell& shell, CommandChannel& channel, Integrator& integrator);

  LabelPrinterControls controls;
  // An upload over the main port ended with the reply to 41: true for "Sent".
  Signal<bool> uploadEnded;

  // Buttons. SetPrintClick is given the chosen path (the dialog is the UI's).
  bool SetPrintClick(const std::string& path);
  void SendPrtClick();
  void SendPrtPClick();
  void GetPrValidClick() { channel_.queueCmd(42); }
  void GetErLbClick() { channel_.queueCmd(43); }
  void SetErLbClick() { channel_.queueCmd(44); }
  void SetErLbPClick();

  // The device asked for the label over the integrator link (its request 82).
  void labelRequested();
  // The device's answer to message 544.
  void labelAnswered(bool accepted);

  const LabelBuffer& label() const { return label_; }
  const RejectLabels& rejectLabels() const { return reject_; }
  // Bodies of the integrator messages 543, 544 and 545.
  std::string chunkMessageBody();
  std::string closeMessageBody() const;
  std::string rejectTextsBody() const;

  void buildRequest(int code, RequestWriter& out) override;
  void handleReply(int code, PayloadReader& payload) override;
  void requestEnded(int code, RequestEnd end) override;

 private:
  void setState(PrtState state);
  void showRejectLabels();
  void startIntegratorUpload();
  void changed() { shell_.changed(Area::Printer); }

  Shell& shell_;
  CommandChannel& channel_;
  Integrator& integrator_;
  LabelBuffer label_;
  RejectLabels reject_;
  uint32_t offset_ = 0;   // the next chunk of command 40
  uint32_t offsetP_ = 0;  // the next chunk of message 543
};

}  // namespace vantor
