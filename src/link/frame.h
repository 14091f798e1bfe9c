#pragma once
// The main-port frame: STX IDS IDM CNH CNL PNH PNL CMD, ParNum bytes, CKH CKL ETX.
// Header fields are high byte first; payload values are little-endian.
#include <cstdint>

#include "link/bytes.h"

namespace vantor::frame {

inline constexpr uint8_t kStx = 0x02;
inline constexpr uint8_t kEtx = 0x03;
inline constexpr uint8_t kIds = 0x00;
inline constexpr uint8_t kIdm = 0x01;
inline constexpr uint8_t kAck = 0x06;
inline constexpr size_t kHeaderSize = 8;                              // STX .. CMD
inline constexpr size_t kOverhead = 11;                               // header + CKH CKL ETX
inline constexpr size_t kTxCapacity = 3000;                           // the transmit buffer
inline constexpr size_t kMaxRequestParams = kTxCapacity - kOverhead;  // 2989

// Sum of the bytes after STX and before CKH, modulo 65536.
uint16_t checksum(ByteView frameWithoutTrailer);

}  // namespace vantor::frame
