#include "cli/inject_command.h"

#include <CLI/CLI.hpp>

#include "link/text_format.h"

namespace vantor {

void InjectCommand::addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen) {
  CLI::App* inject = app.add_subcommand(
      "inject", "Inject a barcode or a weight as if the line had read or weighed it.");
  inject->require_subcommand(1);

  CLI::App* barcode = inject->add_subcommand(
      "barcode",
      "Inject a barcode: as a line of one reader reads it, or with --reader from that "
      "reader of a line of two.");
  auto text = std::make_shared<std::string>();
  auto reader = std::make_shared<int>(0);
  barcode->add_option("TEXT", *text, "the barcode's characters")->required();
  CLI::Option* readerOption =
      barcode->add_option("--reader", *reader, "the reader, 0 or 1")->check(CLI::IsMember({0, 1}));
  barcode->callback([&chosen, text, reader, readerOption] {
    Barcode code{*text, std::nullopt};
    if (readerOption->count() > 0) code.reader = *reader;
    chosen = std::make_unique<InjectCommand>(std::move(code));
  });

  CLI::App* weight =
      inject->add_subcommand("weight", "Inject the weight of the next box on the scale.");
  auto grams = std::make_shared<int>(0);
  weight->add_option("GRAMS", *grams, "the weight in grams, 0 to 20000")
      ->required()
      ->check(CLI::Range(0, LineSimulator::kMaxPeso));
  weight->callback([&chosen, grams] { chosen = std::make_unique<InjectCommand>(*grams); });
}

void InjectCommand::prepare(CtlSession& session) {
  if (barcode_ && barcode_->text.size() > static_cast<size_t>(LineSimulator::kMaxBarcode))
    session.fail(kExitUsage, format("the barcode has %zu characters; at most %d can be sent",
                                    barcode_->text.size(), LineSimulator::kMaxBarcode));
}

void InjectCommand::connected(CtlSession& session) {
  LineSimulator& sim = session.device().lineSimulator;
  if (!barcode_) {
    sim.controls.pesoSet = grams_;
    sim.SetPesoClick();
    return;
  }
  sim.controls.seqSer = false;
  sim.controls.checkBox1 = barcode_->reader.has_value();
  if (barcode_->reader.value_or(0) == 1) {
    sim.controls.barCode1 = barcode_->text;
    sim.SetBar1Click();
  } else {
    sim.controls.barCode0 = barcode_->text;
    sim.SetBar0Click();
  }
}

void InjectCommand::replied(CtlSession& session, int code, ByteView frame) {
  (void)frame;
  if (code == (barcode_ ? 30 : 19)) session.finish(kExitOk);
}

}  // namespace vantor
