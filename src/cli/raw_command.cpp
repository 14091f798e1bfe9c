#include "cli/raw_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace vantor {

namespace {

std::optional<long> number(const std::string& word, int base) {
  if (word.empty() || word[0] == '+' || word[0] == '-' || word[0] == ' ') return std::nullopt;
  char* end = nullptr;
  const long value = std::strtol(word.c_str(), &end, base);
  if (*end != '\0' || value > 255) return std::nullopt;
  return value;
}

// The code in plain decimal: a leading zero does not make it octal.
const CLI::Validator kDecimalCode(
    [](std::string& word) -> std::string {
      return number(word, 10) ? "" : "'" + word + "' is not a command code from 0 to 255";
    },
    "");

// One or two hex digits, without a 0x.
const CLI::Validator kHexByte(
    [](std::string& word) -> std::string {
      return word.size() <= 2 && number(word, 16) ? "" : "'" + word + "' is not a hex byte";
    },
    "");

}  // namespace

void RawCommand::addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen) {
  CLI::App* raw = app.add_subcommand(
      "raw", "Send one request with these parameter bytes and print the reply frame in hex.");
  auto code = std::make_shared<std::string>();
  auto hex = std::make_shared<std::vector<std::string>>();
  raw->add_option("CODE", *code, "the command code, in decimal")
      ->required()
      ->type_name("0..255")
      ->check(kDecimalCode);
  raw->add_option("HEX", *hex, "the request's parameter bytes, in hex")
      ->type_name("00..FF")
      ->check(kHexByte);
  raw->callback([&chosen, code, hex] {
    Bytes params;
    for (const std::string& word : *hex)
      params.push_back(static_cast<uint8_t>(std::strtol(word.c_str(), nullptr, 16)));
    chosen = std::make_unique<RawCommand>(static_cast<int>(std::strtol(code->c_str(), nullptr, 10)),
                                          std::move(params));
  });
}

void RawCommand::connected(CtlSession& session) {
  CommandChannel& channel = session.device().channel;
  channel.requestOverride = [this](int code, RequestWriter& out) {
    if (sent_ || code != code_) return false;
    out.putBytes(params_);
    sent_ = true;
    return true;
  };
  channel.queueCmd(code_);
}

void RawCommand::replied(CtlSession& session, int code, ByteView frame) {
  if (!sent_ || code != code_) return;
  std::printf("%s\n", hexSpaced(frame).c_str());
  std::fflush(stdout);
  session.device().channel.requestOverride = nullptr;
  session.finish(kExitOk);
}

}  // namespace vantor
