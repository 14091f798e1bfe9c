#include "link/tx_frame.h"

#include "link/text_format.h"

namespace vantor {

void TxFrame::begin(int commandCode) {
  parNum_ = 0;
  code_ = commandCode;
  cmdNum_ = static_cast<uint16_t>(cmdNum_ + 1);
  buf_[0] = frame::kStx;
  buf_[1] = frame::kIds;
  buf_[2] = frame::kIdm;
  buf_[3] = static_cast<uint8_t>(cmdNum_ >> 8);
  buf_[4] = static_cast<uint8_t>(cmdNum_);
  buf_[7] = static_cast<uint8_t>(commandCode);
}

void TxFrame::put8(uint8_t v) {
  if (parNum_ >= frame::kMaxRequestParams)
    throw RequestTooLarge(format("Command %d: request larger than %zu bytes refused", code_,
                                 frame::kMaxRequestParams));
  buf_[frame::kHeaderSize + parNum_] = v;
  ++parNum_;
}

ByteView TxFrame::finish() {
  buf_[5] = static_cast<uint8_t>(parNum_ >> 8);
  buf_[6] = static_cast<uint8_t>(parNum_);
  const size_t end = frame::kHeaderSize + parNum_;
  const uint16_t sum = frame::checksum(ByteView(buf_.data(), end));
  buf_[end] = static_cast<uint8_t>(sum >> 8);
  buf_[end + 1] = static_cast<uint8_t>(sum);
  buf_[end + 2] = frame::kEtx;
  return ByteView(buf_.data(), end + 3);
}

std::string TxFrame::msComPr() const { return format("%6d %6d", cmdNum_, parNum_); }

std::string TxFrame::protMaster() const {
  const size_t end = frame::kHeaderSize + parNum_;
  return hexGroups(ByteView(buf_.data(), frame::kHeaderSize)) + "..  ..  " +
         hexGroups(ByteView(buf_.data() + end, 3));
}

}  // namespace vantor
