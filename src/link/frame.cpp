#include "link/frame.h"

namespace vantor::frame {

uint16_t checksum(ByteView frameWithoutTrailer) {
  uint16_t sum = 0;
  for (size_t i = 1; i < frameWithoutTrailer.size(); ++i)
    sum = static_cast<uint16_t>(sum + frameWithoutTrailer[i]);
  return sum;
}

}  // namespace vantor::frame
