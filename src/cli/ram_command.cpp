#include "cli/ram_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "link/text_format.h"
#include "monitor/memory_access.h"

namespace vantor {

std::string checkWord32(std::string& word) {
  if (parseWord32(word)) return "";
  return format("'%s' is not a 32-bit number (decimal, signed or unsigned, or 0x hex)",
                word.c_str());
}

void RamCommand::addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen) {
  CLI::App* ram = app.add_subcommand("ram", "Read or write one 32-bit word of the device's RAM.");
  ram->require_subcommand(1);
  const CLI::Validator word(checkWord32, "WORD");

  CLI::App* read = ram->add_subcommand(
      "read", "Print the word at ADDR as unsigned decimal and as 8 hex digits.");
  auto readAddr = std::make_shared<std::string>();
  read->add_option("ADDR", *readAddr, "the address, decimal or 0x hex")->required()->check(word);
  read->callback([&chosen, readAddr] {
    chosen = std::make_unique<RamCommand>(*parseWord32(*readAddr), std::nullopt);
  });

  CLI::App* write = ram->add_subcommand(
      "write", "Write VALUE to the word at ADDR (the device does not confirm a write).");
  auto writeAddr = std::make_shared<std::string>();
  auto value = std::make_shared<std::string>();
  write->add_option("ADDR", *writeAddr, "the address, decimal or 0x hex")->required()->check(word);
  write->add_option("VALUE", *value, "the value, signed or unsigned decimal, or 0x hex")
      ->required()
      ->check(word);
  write->callback([&chosen, writeAddr, value] {
    chosen = std::make_unique<RamCommand>(*parseWord32(*writeAddr), parseWord32(*value));
  });
}

// The address goes in as the page's AddRAM and HiAdd would make it.
void RamCommand::connected(CtlSession& session) {
  MemoryAccess& m = session.device().memoryAccess;
  m.controls.addRAM = address_ & 0x7FFFFFFFu;
  m.controls.hiAdd = (address_ & 0x80000000u) != 0;
  m.AddRAMChange();
  if (value_) {
    m.controls.dataRAM = format("%u", *value_);
    m.WR_RAMClick();
  } else {
    m.RD_RAMClick();
  }
}

void RamCommand::replied(CtlSession& session, int code, ByteView) {
  const MemoryAccess& m = session.device().memoryAccess;
  if (code == 12 && !value_) {
    std::printf("%s %s\n", m.controls.dataRAM.c_str(), m.controls.dataX.c_str());
    std::fflush(stdout);
    session.finish(kExitOk);
  } else if (code == 10 && value_) {
    session.finish(kExitOk);
  }
}

}  // namespace vantor
