#pragma once
// SHA-256 of a byte string, as 64 lowercase hexadecimal digits: the check of
// every file of a device snapshot.
#include <string>

#include "link/bytes.h"

namespace vantor {

std::string sha256Hex(ByteView data);

}  // namespace vantor
