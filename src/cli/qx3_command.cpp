#include "cli/qx3_command.h"

#include <CLI/CLI.hpp>
#include <cctype>
#include <cstdio>

#include "link/text_format.h"

namespace vantor {

void Qx3Command::addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen) {
  std::string list;
  for (const char* item : qx3Commands()) list += format("\n  %s", item);
  CLI::App* qx3 = app.add_subcommand(
      "qx3",
      "Query a setting of the QX3 weighing module (COMMAND?) or, with VALUE, write it "
      "(COMMAND followed by VALUE), and print the module's answer.");
  qx3->footer("Commands:" + list);
  auto command = std::make_shared<std::string>();
  auto value = std::make_shared<std::string>();
  auto port = std::make_shared<int>(2);
  auto end = std::make_shared<int>(13);
  qx3->add_option("COMMAND", *command, "the module's three-letter command")->required();
  CLI::Option* valueOption = qx3->add_option("VALUE", *value, "the value to write");
  qx3->add_option("--port", *port, "the serial port of the module, 0 to 3")
      ->check(CLI::Range(ClockSerial::kPortMin, ClockSerial::kPortMax))
      ->capture_default_str();
  qx3->add_option("--end", *end, "the end character's code, 1 to 127")
      ->check(CLI::Range(ClockSerial::kEndMin, ClockSerial::kEndMax))
      ->capture_default_str();
  qx3->callback([&chosen, command, value, valueOption, port, end] {
    std::optional<std::string> v;
    if (valueOption->count() > 0) v = *value;
    chosen = std::make_unique<Qx3Command>(*command, v, *port, *end);
  });
}

void Qx3Command::prepare(CtlSession& session) {
  std::string letters = command_;
  for (char& c : letters) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const auto items = qx3Commands();
  for (size_t i = 0; i < items.size(); ++i)
    if (letters.size() == 3 && letters == std::string(items[i], 3)) item_ = static_cast<int>(i);
  if (item_ < 0) {
    session.fail(kExitUsage, format("'%s' is not a command of the module (vantorctl qx3 --help "
                                    "lists them)",
                                    command_.c_str()));
    return;
  }
  const size_t length = 3 + (value_ ? value_->size() : 1);
  if (length > Qx3Panel::kPassThroughMax)
    session.fail(kExitUsage, format("the text for the module has %zu characters; at most %zu "
                                    "can be sent",
                                    length, Qx3Panel::kPassThroughMax));
}

void Qx3Command::connected(CtlSession& session) {
  Device& d = session.device();
  d.clockSerial.controls.portSel = port_;
  d.clockSerial.controls.endCh = end_;
  d.qx3Panel.controls.cmdList = item_;
  if (value_) {
    d.qx3Panel.controls.qx3SetPar = *value_;
    d.qx3Panel.SetStParClick();
  } else {
    d.qx3Panel.GetStParClick();
  }
}

void Qx3Command::replied(CtlSession& session, int code, ByteView) {
  if (code != 1) return;
  std::printf("%s\n", session.device().qx3Panel.controls.qx3Par.c_str());
  std::fflush(stdout);
  session.finish(kExitOk);
}

}  // namespace vantor
