#include "peripherals/label_printer.h"

#include "link/text_format.h"
#include "peripherals/integrator.h"
#include "peripherals/memo_text.h"

namespace vantor {

const char* prtStateText(PrtState state) {
  switch (state) {
    case PrtState::Ready:
      return "Ready";
    case PrtState::Sent:
      return "Sent";
    case PrtState::Error:
      return "Error";
    case PrtState::Void:
      break;
  }
  return "Void";
}

Colour prtStateColour(PrtState state) {
  if (state == PrtState::Sent) return Colour::Green;
  if (state == PrtState::Error) return Colour::Red;
  return Colour::ButtonFace;
}

const std::vector<std::string>& validPlaceholderLines() {
  static const std::vector<std::string> lines = [] {
    std::vector<std::string> l{"Campos Valido",      "",
                               "<nr_sscc_caixa>",    "<data>",
                               "<ds_nr_sscc_caixa>", "<qt_peso_liquido>",
                               "<dt_producao>",      "<dt_validade>",
                               "<qt_peso_bruto>",    "<nm_item>",
                               "<nr_lote>"};
    for (int i = 1; i <= 10; ++i) l.push_back(format("<reserva%d>", i));
    for (const char* p :
         {"<cd_dun14>", "<cd_item>", "<ean_qt_peso_liquido>", "<ean_dt_validade>", "<qt_peso_tara>",
          "<cd_dun14_sem_dv>", "<qt_item_eml_secundaria>", "<cd_faixa>", "<hora>", "<ean_nr_lote>",
          "<cd_turno>", "<nr_sequencia_caixa>", "<ean_dt_producao>", "<ean_qt_peso_bruto>",
          "<qt_peso_eml_primaria>", "<qt_peso_eml_secundaria>", "<cd_ponto>", "<nr_sscc_cx_gs1>",
          "<ds_nr_sscc_cx_gs1>"})
      l.emplace_back(p);
    return l;
  }();
  return lines;
}

LabelPrinter::LabelPrinter(Shell& shell, CommandChannel& channel, Integrator& integrator)
    : shell_(shell), channel_(channel), integrator_(integrator) {
  integrator_.bindMessage(543, [this] { return chunkMessageBody(); });
  integrator_.bindMessage(544, [this] { return closeMessageBody(); });
  integrator_.bindMessage(545, [this] { return rejectTextsBody(); });
}

void LabelPrinter::setState(PrtState state) {
  controls.msgPrt = state;
  changed();
}

bool LabelPrinter::SetPrintClick(const std::string& path) {
  std::string error;
  if (!label_.load(path, error)) {
    // Nothing half-loaded can be sent: the old label is gone and sending waits for a good load.
    controls.sendEnabled = false;
    controls.memo5.append(format("Label not loaded: %s", error.c_str()));
    setState(PrtState::Error);
    return false;
  }
  appendMemoText(controls.memo5, label_.text());
  controls.sendEnabled = true;
  setState(PrtState::Ready);
  return true;
}

void LabelPrinter::SendPrtClick() {
  if (!controls.sendEnabled) return;
  offset_ = 0;
  channel_.queueCmd(40);
}

void LabelPrinter::SendPrtPClick() {
  if (!controls.sendEnabled) return;
  startIntegratorUpload();
}

void LabelPrinter::startIntegratorUpload() {
  offsetP_ = 0;
  integrator_.queueMessage(543);
}

void LabelPrinter::labelRequested() {
  if (!controls.sendEnabled) {
    // An empty label would overwrite the device's template with nothing.
    controls.memo5.append("Label requested by the device: no label loaded, nothing sent");
    changed();
    return;
  }
  startIntegratorUpload();
}

void LabelPrinter::labelAnswered(bool accepted) {
  setState(accepted ? PrtState::Sent : PrtState::Error);
}

void LabelPrinter::SetErLbPClick() { integrator_.queueMessage(545); }

// 543: "%d\t%d\t" with LabelID and the offset, then up to 500 label bytes,
// ending early at the label's zero byte. The next message is queued now.
std::string LabelPrinter::chunkMessageBody() {
  std::string body = format("%d\t%u\t", controls.labelId, offsetP_);
  const ByteView chunk = label_.span(offsetP_, kChunkP);
  for (uint8_t b : chunk) {
    if (b == 0) break;
    body.push_back(static_cast<char>(b));
  }
  offsetP_ += kChunkP;
  integrator_.queueMessage(offsetP_ > label_.length() ? 544 : 543);
  return body;
}

std::string LabelPrinter::closeMessageBody() const {
  return format("%d\t%d\t%d", controls.labelId, controls.labelIdProd, label_.checksum());
}

std::string LabelPrinter::rejectTextsBody() const {
  std::string body;
  for (size_t r = 0; r < controls.erLbTexts.size(); ++r) {
    if (r) body += '\t';
    body += controls.erLbTexts[r];
  }
  return body;
}

void LabelPrinter::buildRequest(int code, RequestWriter& out) {
  switch (code) {
    case 40: {
      // The last chunk carries the rest of the label and its zero byte.
      const uint32_t old = offset_;
      const bool last = old + kChunk > label_.length();
      const size_t count = last ? label_.length() - old + 1 : kChunk;
      out.put8(static_cast<uint8_t>(controls.labelId));
      out.put16(static_cast<uint16_t>(old));
      out.putBytes(label_.span(old, count));
      offset_ = old + kChunk;
      const size_t chunks = label_.length() / kChunk + 1;
      controls.progress = format("chunk %zu of %zu", old / kChunk + 1, chunks);
      channel_.queueCmd(last ? 41 : 40);
      changed();
      break;
    }
    case 41:
      out.put8(static_cast<uint8_t>(controls.labelId));
      out.put8(static_cast<uint8_t>(controls.labelIdProd));
      out.put8(label_.checksum());
      break;
    case 44:
      for (size_t i = 1; i <= kRejectSlots; ++i) {
        reject_.setText(i, controls.erLbTexts[i]);
        reject_.setValue(i, 1);
      }
      out.putBytes(reject_.block);
      break;
    default:
      break;
  }
}

void LabelPrinter::showRejectLabels() {
  for (size_t i = 1; i <= kRejectSlots; ++i) {
    controls.erLbValues[i] = format("%u", reject_.value(i));
    controls.erLbTexts[i] = reject_.text(i);
  }
}

void LabelPrinter::handleReply(int code, PayloadReader& payload) {
  switch (code) {
    case 41: {
      const bool sent = payload.u8(0) != 2;
      controls.progress.clear();
      setState(sent ? PrtState::Sent : PrtState::Error);
      uploadEnded(sent);
      break;
    }
    case 42:
      controls.validity = decodeValidity(payload);
      changed();
      break;
    case 43:
      reject_.decode(payload);
      showRejectLabels();
      changed();
      break;
    default:
      break;
  }
}

void LabelPrinter::requestEnded(int code, RequestEnd end) {
  if (code != 40 && code != 41) return;
  controls.progress = format("Label upload stopped: %s", requestEndText(end));
  setState(PrtState::Error);
  uploadEnded(false);
}

}  // namespace vantor
