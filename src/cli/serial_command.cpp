#include "cli/serial_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "link/text_format.h"

namespace vantor {

void SerialCommand::addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen) {
  CLI::App* serial = app.add_subcommand("serial", "The device's serial ports.");
  serial->require_subcommand(1);

  CLI::App* send = serial->add_subcommand(
      "send", format("Send TEXT (at most %zu characters) and an end character out of a serial "
                     "port of the device.",
                     ClockSerial::kTextMax));
  auto port = std::make_shared<int>(2);
  auto text = std::make_shared<std::string>();
  auto end = std::make_shared<int>(13);
  send->add_option("PORT", *port, "the port, 0 to 3")
      ->required()
      ->check(CLI::Range(ClockSerial::kPortMin, ClockSerial::kPortMax));
  send->add_option("TEXT", *text, "the text")->required();
  send->add_option("--end", *end, "the end character's code, 1 to 127")
      ->check(CLI::Range(ClockSerial::kEndMin, ClockSerial::kEndMax))
      ->capture_default_str();
  send->callback([&chosen, port, text, end] {
    chosen = std::make_unique<SerialCommand>(true, *port, *text, *end);
  });

  CLI::App* read = serial->add_subcommand(
      "read", "Print a serial port's receive buffer: its text, an empty line, 16 hex lines.");
  auto readPort = std::make_shared<int>(2);
  read->add_option("PORT", *readPort, "the port, 0 to 3")
      ->required()
      ->check(CLI::Range(ClockSerial::kPortMin, ClockSerial::kPortMax));
  read->callback([&chosen, readPort] {
    chosen = std::make_unique<SerialCommand>(false, *readPort, std::string(), 13);
  });
}

// A text the device could not be sent is refused before connecting.
void SerialCommand::prepare(CtlSession& session) {
  if (send_ && text_.size() > ClockSerial::kTextMax)
    session.fail(kExitUsage, format("the text has %zu characters; at most %zu can be sent",
                                    text_.size(), ClockSerial::kTextMax));
}

void SerialCommand::connected(CtlSession& session) {
  ClockSerial& serial = session.device().clockSerial;
  serial.controls.portSel = port_;
  serial.controls.endCh = end_;
  if (send_) {
    serial.controls.strDataSend = text_;
    serial.SetStrClick();
  } else {
    serial.GetRxClick();
  }
}

void SerialCommand::replied(CtlSession& session, int code, ByteView) {
  if (code != (send_ ? 2 : 1)) return;
  if (!send_) {
    for (const std::string& line : session.device().clockSerial.controls.memo3)
      std::printf("%s\n", line.c_str());
    std::fflush(stdout);
  }
  session.finish(kExitOk);
}

}  // namespace vantor
