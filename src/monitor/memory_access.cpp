#include "monitor/memory_access.h"

#include <algorithm>
#include <cstdlib>

#include "config/cell_value.h"
#include "link/text_format.h"

namespace vantor {

MemoryAccess::MemoryAccess(Shell& shell, CommandChannel& channel)
    : shell_(shell), channel_(channel) {
  showPage();
  controls.dataEEP.clear();
}

void MemoryAccess::AddRAMChange() {
  ramAddress_ = controls.addRAM + (controls.hiAdd ? 0x80000000u : 0u);
  controls.addrRAM = format("%08X", ramAddress_);
  changed();
}

void MemoryAccess::AddEEPChange() {
  controls.addEEPx = format("%08X", controls.addEEP);
  changed();
}

// The command goes in first; the page length is set at the click, so the
// request, built later, uses it.
void MemoryAccess::RD_EEPClick() {
  channel_.queueCmd(17);
  pageLength_ = static_cast<uint8_t>(std::clamp(controls.numBPg, 1, int{kEepPageBytes}));
}

void MemoryAccess::VR_EEPClick() {
  channel_.queueCmd(18);
  pageLength_ = static_cast<uint8_t>(std::clamp(controls.numBPg, 1, int{kEepPageBytes}));
}

void MemoryAccess::refused(std::string text) {
  controls.message = std::move(text);
  changed();
  throw RequestRefused(controls.message);
}

void MemoryAccess::buildRequest(int code, RequestWriter& out) {
  switch (code) {
    case 12:
      out.put32(ramAddress_);
      break;
    case 10: {
      const std::optional<uint32_t> value = parseCell32(controls.dataRAM);
      if (!value)
        refused(format("WR not sent: DataRAM: %s", CellConversionError(controls.dataRAM).what()));
      out.put32(ramAddress_);
      out.put32(*value);
      break;
    }
    case 17:
      out.put32(controls.addEEP);
      out.put8(pageLength_);
      break;
    case 18: {
      // Every cell must convert before any goes into the page buffer.
      std::array<uint8_t, kEepPageBytes> page{};
      for (size_t i = 0; i < kEepPageBytes; ++i) {
        const std::optional<uint32_t> v = parseCell32(controls.memEEpPag[i]);
        if (!v)
          refused(format("WR not sent: MemEEpPag row %zu column %zu: %s", i / kEepColumns,
                         i % kEepColumns, CellConversionError(controls.memEEpPag[i]).what()));
        page[i] = static_cast<uint8_t>(*v);
      }
      page_ = page;
      out.put32(controls.addEEP);
      out.put8(pageLength_);
      out.putBytes(ByteView(page_.data(), pageLength_));
      break;
    }
    default:
      return;
  }
  if (!controls.message.empty()) {
    controls.message.clear();
    changed();
  }
}

void MemoryAccess::showPage() {
  for (size_t i = 0; i < kEepPageBytes; ++i) controls.memEEpPag[i] = format("%u", page_[i]);
  controls.dataEEP = format("%u", page_[0]);
}

void MemoryAccess::handleReply(int code, PayloadReader& p) {
  switch (code) {
    case 12:
      lastRamWord_ = p.u32(0);
      controls.dataRAM = format("%u", lastRamWord_);
      controls.dataX = format("%08X", lastRamWord_);
      break;
    case 17: {
      const uint8_t status = p.u8(0);
      controls.stEEP = format("%u", status);
      lastEepRead_.assign(1, status);
      // Only the bytes that arrived reach the page; a short reply is reported.
      for (size_t i = 0; i < pageLength_; ++i) {
        const bool there = 1 + i < p.size();
        const uint8_t b = p.u8(1 + i);
        if (!there) continue;
        page_[i] = b;
        lastEepRead_.push_back(b);
      }
      showPage();
      break;
    }
    case 18:
      controls.stEEP = format("%u", p.u8(0));
      lastEepRead_.assign(1, p.u8(0));
      break;
    case 33: {
      p.u8(kBarcodeBufferBytes - 1);  // a shorter dump is reported short
      for (const std::string& line : barcodeDumpLines(p.bytes())) shell_.memo1.append(line);
      shell_.changed(Area::Memo1);
      break;
    }
    default:
      return;
  }
  changed();
}

std::vector<std::string> barcodeDumpLines(ByteView buffer) {
  std::vector<std::string> lines;
  const size_t n = std::min(buffer.size(), kBarcodeBufferBytes);
  for (size_t i = 0; i < n; ++i) {
    if (i % 64 == 0) lines.emplace_back();
    const uint8_t b = buffer[i];
    // A zero byte ends the text after "0x00 - ".
    lines.push_back(b != 0 ? format("0x%02X - %c", b, b) : std::string("0x00 - "));
  }
  return lines;
}

std::optional<uint32_t> parseWord32(const std::string& text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    if (text.size() > 10) return std::nullopt;
    uint32_t v = 0;
    for (size_t i = 2; i < text.size(); ++i) {
      const char c = text[i];
      int d;
      if (c >= '0' && c <= '9')
        d = c - '0';
      else if (c >= 'a' && c <= 'f')
        d = c - 'a' + 10;
      else if (c >= 'A' && c <= 'F')
        d = c - 'A' + 10;
      else
        return std::nullopt;
      v = v << 4 | static_cast<uint32_t>(d);
    }
    return v;
  }
  return parseCell32(text);
}

}  // namespace vantor
