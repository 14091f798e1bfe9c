#pragma once
// The exit codes of vantorctl: one table for every command, also printed by --help.
#include <array>

namespace vantor {

enum CtlExit : int {
  kExitOk = 0,
  kExitConnection = 1,  // the connection failed, did not complete in time, or was lost
  kExitUsage = 2,
  kExitNoReply = 3,    // no reply in time, or a protocol error
  kExitFile = 4,       // a file refused, unreadable or not writable; nothing written to the device
  kExitRefused = 5,    // the device refused the operation
  kExitDifferent = 6,  // a comparison found differences
};

struct CtlExitMeaning {
  CtlExit code;
  const char* text;
};

inline constexpr std::array<CtlExitMeaning, 7> kCtlExitMeanings{{
    {kExitOk, "done"},
    {kExitConnection, "connection failed or lost"},
    {kExitUsage, "usage"},
    {kExitNoReply, "no reply in time or a protocol error"},
    {kExitFile, "a file refused, unreadable or not writable (nothing written to the device)"},
    {kExitRefused, "the device refused the operation"},
    {kExitDifferent, "a comparison found differences"},
}};

}  // namespace vantor
