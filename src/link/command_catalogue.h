#pragma once
// Every command code of the main port, with the feature that writes its request
// parameters and the feature that handles the device's reply. A feature that is
// not built has no row entries: its requests go out bare and its replies only
// advance the queue.
#include <cstdint>
#include <span>

namespace vantor {

enum class Feature : uint8_t {
  None,
  LiveStatus,
  ParTables,
  ConfigBlocks,
  WeightTrace,
  PesoCounters,
  Count
};

struct CommandRow {
  int code;
  const char* purpose;
  Feature request;  // writes the request parameters (None: bare frame)
  Feature reply;    // handles the reply (None: only advances the queue)
};

std::span<const CommandRow> commandCatalogue();
// The row of a code, or nullptr for a code not in the catalogue.
const CommandRow* findCommand(int code);

}  // namespace vantor
