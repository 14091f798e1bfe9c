#include "cli/clock_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>

namespace vantor {

void ClockCommand::addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen) {
  CLI::App* clock = app.add_subcommand("clock", "The device's real-time clock.");
  clock->require_subcommand(1);
  clock->add_subcommand("get", "Print the device clock as HH:MM:SS DD-MM-YYYY.")
      ->callback([&chosen] { chosen = std::make_unique<ClockCommand>(false); });
  clock->add_subcommand("set", "Set the device clock to this PC's local date and time.")
      ->callback([&chosen] { chosen = std::make_unique<ClockCommand>(true); });
}

void ClockCommand::connected(CtlSession& session) {
  ClockSerial& clock = session.device().clockSerial;
  if (set_)
    clock.SetTimeClick();
  else
    clock.GetTimeClick();
}

void ClockCommand::replied(CtlSession& session, int code, ByteView) {
  if (code != (set_ ? 5 : 6)) return;
  if (!set_) {
    std::printf("%s\n", session.device().clockSerial.controls.dateStr.c_str());
    std::fflush(stdout);
  }
  session.finish(kExitOk);
}

}  // namespace vantor
