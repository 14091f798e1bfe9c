#pragma once
// Every part a device snapshot holds, in the order they are read and written.
#include <memory>
#include <string>
#include <vector>

#include "app/device.h"
#include "app/snapshot_part.h"

namespace vantor {

// withPasswords: the user accounts are saved with their passwords.
std::vector<std::unique_ptr<SnapshotPart>> makeSnapshotParts(Device& device,
                                                             bool withPasswords = false);
// The parts' names in the same order, known before any device exists.
std::vector<std::string> snapshotPartNames();

}  // namespace vantor
