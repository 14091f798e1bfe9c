// The decoders of replies 42 (label validity) and 43 (reject-label block) fed
// payloads of any length: nothing is read past the payload, a short payload
// reads as zeros, and every text shown is at most 99 characters with no zero byte.
#include <cstdint>
#include <cstdlib>

#include "link/bytes.h"
#include "peripherals/reject_labels.h"

using namespace vantor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const ByteView payload(data, size);
  PayloadReader validityReader(payload);
  const ValidityTable table = decodeValidity(validityReader);
  for (size_t i = 0; i < table.size(); ++i)
    if (table[i] != (i < size ? data[i] : 0)) std::abort();
  if (validityReader.wasShort() != (size < kValidityBytes)) std::abort();

  PayloadReader rejectReader(payload);
  RejectLabels labels;
  labels.decode(rejectReader);
  if (rejectReader.wasShort() != (size < kRejectBlockSize)) std::abort();
  for (size_t i = 1; i <= kRejectSlots; ++i) {
    const std::string text = labels.text(i);
    if (text.size() > kRejectTextMax || text.find('\0') != std::string::npos) std::abort();
    // Written back, the text reads the same.
    RejectLabels copy = labels;
    copy.setText(i, text);
    if (copy.text(i) != text) std::abort();
    (void)labels.value(i);
  }
  return 0;
}
