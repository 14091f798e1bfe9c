#pragma once
// RAM and EEPROM access of the "Deb" page and the barcode buffer dump.
//
//   12  read a RAM word      request: address (4)            reply: the word (4)
//   10  write a RAM word     request: address, value (8)     reply not handled
//   17  read EEPROM bytes    request: address, length n (5)  reply: status, n bytes
//   18  write EEPROM bytes   request: address, n, n bytes    reply: status
//   33  barcode buffer dump  request: none                   reply: 640 bytes
//   32  SetEEprom            request: none                   reply not handled
//
// Each button only queues its command; the controls are read when the request
// is built. A DataRAM text or page cell that is not an integer drops its
// request unsent, with the control (and its row and column) named.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/command_channel.h"
#include "link/command_feature.h"
#include "link/shell.h"

namespace vantor {

inline constexpr size_t kEepPageBytes = 128;
inline constexpr int kEepColumns = 16;
inline constexpr int kEepRows = 8;
inline constexpr size_t kBarcodeBufferBytes = 640;

struct MemoryAccessControls {
  uint32_t addRAM = 0;  // spin edit 0 .. 2147483647, step 4
  bool hiAdd = false;
  std::string addrRAM = "00";
  std::string dataRAM = "Data";
  std::string dataX;
  uint32_t addEEP = 0;  // 0 .. 16777215
  std::string addEEPx = "00";
  int numBPg = 1;  // 1 .. 128
  std::string dataEEP;
  std::string stEEP;
  std::array<std::string, kEepPageBytes> memEEpPag;  // cell 16 row + column
  // Why the last request was not sent, or empty.
  std::string message;
};

class MemoryAccess final : public CommandFeature {
 public:
  MemoryAccess(Shell& shell, CommandChannel& channel);

  MemoryAccessControls controls;

  void AddRAMChange();  // also HiAdd's click
  void RD_RAMClick() { channel_.queueCmd(12); }
  void WR_RAMClick() { channel_.queueCmd(10); }
  void AddEEPChange();  // also NumBPg's change
  void RD_EEPClick();
  void VR_EEPClick();
  void GetBarCodeClick() { channel_.queueCmd(33); }
  void SetEEpromClick() { channel_.queueCmd(32); }

  uint32_t ramAddress() const { return ramAddress_; }
  uint8_t pageLength() const { return pageLength_; }
  const std::array<uint8_t, kEepPageBytes>& pageBuffer() const { return page_; }
  // The bytes of the last EEPROM read, status first (for vantorctl).
  const Bytes& lastEepRead() const { return lastEepRead_; }
  uint32_t lastRamWord() const { return lastRamWord_; }

  void buildRequest(int code, RequestWriter& out) override;
  void handleReply(int code, PayloadReader& payload) override;

 private:
  void refused(std::string text);
  void showPage();
  void changed() { shell_.changed(Area::Diagnosis); }

  Shell& shell_;
  CommandChannel& channel_;
  uint32_t ramAddress_ = 0;
  uint8_t pageLength_ = 1;
  std::array<uint8_t, kEepPageBytes> page_{};
  Bytes lastEepRead_;
  uint32_t lastRamWord_ = 0;
};

// The barcode buffer as Memo1 shows it: per group of 64 bytes an empty line,
// then "0x%02X - %c" per byte ("0x00 - " for a zero byte).
std::vector<std::string> barcodeDumpLines(ByteView buffer);

// Signed or unsigned decimal, or 0x hex, of 32 bits; nullopt otherwise.
std::optional<uint32_t> parseWord32(const std::string& text);

}  // namespace vantor
