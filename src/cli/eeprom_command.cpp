#include "cli/eeprom_command.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>

#include "cli/ram_command.h"
#include "link/text_format.h"
#include "monitor/memory_access.h"

namespace vantor {

namespace {

constexpr uint32_t kEepromEnd = 16777215;  // AddEEP's highest value

const CLI::Validator kEepAddress(
    [](std::string& word) -> std::string {
      const std::optional<uint32_t> v = parseWord32(word);
      if (v && *v <= kEepromEnd && word.find('-') == std::string::npos) return "";
      return format("'%s' is not an EEPROM address from 0 to 16777215 (decimal or 0x hex)",
                    word.c_str());
    },
    "ADDR");

std::optional<uint8_t> hexByte(const std::string& word) {
  if (word.empty() || word.size() > 2) return std::nullopt;
  const std::optional<uint32_t> v = parseWord32("0x" + word);
  if (!v) return std::nullopt;
  return static_cast<uint8_t>(*v);
}

}  // namespace

void EepromCommand::addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen) {
  CLI::App* eeprom =
      app.add_subcommand("eeprom", "Read or write up to 128 bytes of the device's EEPROM.");
  eeprom->require_subcommand(1);

  CLI::App* read = eeprom->add_subcommand(
      "read", "Print the device's status byte, then LEN bytes from ADDR in hex, 16 a line.");
  auto readAddr = std::make_shared<std::string>();
  auto length = std::make_shared<int>(0);
  read->add_option("ADDR", *readAddr, "the address, 0 to 16777215, decimal or 0x hex")
      ->required()
      ->check(kEepAddress);
  read->add_option("LEN", *length, "how many bytes, 1 to 128")
      ->required()
      ->check(CLI::Range(1, 128));
  read->callback([&chosen, readAddr, length] {
    chosen = std::make_unique<EepromCommand>(*parseWord32(*readAddr), *length, Bytes{});
  });

  CLI::App* write = eeprom->add_subcommand(
      "write", "Write the bytes given in hex (1 to 128) from ADDR; prints the status byte.");
  auto writeAddr = std::make_shared<std::string>();
  auto data = std::make_shared<std::vector<std::string>>();
  write->add_option("ADDR", *writeAddr, "the address, 0 to 16777215, decimal or 0x hex")
      ->required()
      ->check(kEepAddress);
  write->add_option("HEX", *data, "the bytes, two hex digits each")
      ->required()
      ->check(CLI::Validator(
          [](std::string& w) -> std::string {
            return hexByte(w) ? "" : format("'%s' is not a byte in hex (00 to FF)", w.c_str());
          },
          "HEX"));
  write->callback([&chosen, writeAddr, data] {
    if (data->size() > kEepPageBytes)
      throw CLI::ValidationError("HEX", format("at most %zu bytes are written at once, not %zu",
                                               kEepPageBytes, data->size()));
    Bytes bytes;
    for (const std::string& w : *data) bytes.push_back(*hexByte(w));
    chosen = std::make_unique<EepromCommand>(*parseWord32(*writeAddr),
                                             static_cast<int>(bytes.size()), bytes);
  });
}

// The bytes go in as the page's cells would hold them.
void EepromCommand::connected(CtlSession& session) {
  MemoryAccess& m = session.device().memoryAccess;
  m.controls.addEEP = address_;
  m.controls.numBPg = length_;
  if (data_.empty()) {
    m.RD_EEPClick();
    return;
  }
  for (size_t i = 0; i < data_.size(); ++i) m.controls.memEEpPag[i] = format("%u", data_[i]);
  m.VR_EEPClick();
}

void EepromCommand::replied(CtlSession& session, int code, ByteView) {
  if (code != (data_.empty() ? 17 : 18)) return;
  const Bytes& got = session.device().memoryAccess.lastEepRead();
  const uint8_t status = got.empty() ? 0 : got[0];
  std::printf("status %u\n", status);
  for (size_t i = 1; i < got.size(); i += 16) {
    const size_t n = std::min<size_t>(16, got.size() - i);
    std::printf("%s\n", hexSpaced(ByteView(got.data() + i, n)).c_str());
  }
  std::fflush(stdout);
  if (status != 0)
    session.fail(kExitRefused, format("the device's status byte is %u", status));
  else
    session.finish(kExitOk);
}

}  // namespace vantor
