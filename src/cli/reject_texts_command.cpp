#include "cli/reject_texts_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <vector>

#include "config/file_bytes.h"
#include "link/text_format.h"

namespace vantor {

namespace {

constexpr FileLimit kRejectTextLimit{7 * 1024, "a reject-text file"};

}  // namespace

bool readRejectTexts(const std::string& path, std::array<std::string, kRejectSlots>& texts,
                     std::string& error) {
  const std::optional<Bytes> bytes = readFileBytes(path, kRejectTextLimit, error);
  if (!bytes) return false;
  std::string all(bytes->begin(), bytes->end());
  if (!all.empty() && all.back() == '\n') all.pop_back();
  std::vector<std::string> lines;
  size_t start = 0;
  while (true) {
    const size_t nl = all.find('\n', start);
    std::string line = all.substr(start, nl - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    if (nl == std::string::npos) break;
    start = nl + 1;
  }
  if (lines.size() != kRejectSlots) {
    error = format("%s has %zu lines; a reject-text file has exactly %zu", path.c_str(),
                   lines.size(), kRejectSlots);
    return false;
  }
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].size() > kRejectTextMax || lines[i].find('\0') != std::string::npos) {
      error = format("%s line %zu: %zu characters; at most %zu, and no zero byte", path.c_str(),
                     i + 1, lines[i].size(), kRejectTextMax);
      return false;
    }
    texts[i] = lines[i];
  }
  return true;
}

void RejectTextsCommand::addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen) {
  CLI::App* reject =
      app.add_subcommand("reject-texts", "The seven texts the device prints on reject labels.");
  reject->require_subcommand(1);
  reject->add_subcommand("show", "Print the seven reject texts: value, tab, text.")
      ->callback([&chosen] { chosen = std::make_unique<RejectTextsCommand>(false, ""); });
  CLI::App* set = reject->add_subcommand(
      "set", "Write the seven reject texts from a file of seven lines (at most 99 characters).");
  auto path = std::make_shared<std::string>();
  set->add_option("FILE", *path, "seven lines of text")->required();
  set->callback([&chosen, path] { chosen = std::make_unique<RejectTextsCommand>(true, *path); });
}

void RejectTextsCommand::prepare(CtlSession& session) {
  std::string error;
  if (set_ && !readRejectTexts(path_, texts_, error)) session.fail(kExitFile, error);
}

void RejectTextsCommand::connected(CtlSession& session) {
  session.device().labelPrinter.GetErLbClick();
}

void RejectTextsCommand::replied(CtlSession& session, int code, ByteView) {
  LabelPrinter& printer = session.device().labelPrinter;
  if (code == 43) {
    if (set_) {
      for (size_t i = 0; i < kRejectSlots; ++i) printer.controls.erLbTexts[i + 1] = texts_[i];
      printer.SetErLbClick();
      return;
    }
    for (size_t i = 1; i <= kRejectSlots; ++i)
      std::printf("%s\t%s\n", printer.controls.erLbValues[i].c_str(),
                  printer.controls.erLbTexts[i].c_str());
    session.finish(kExitOk);
  } else if (code == 44 && set_) {
    session.finish(kExitOk);
  }
}

}  // namespace vantor
