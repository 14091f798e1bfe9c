#pragma once
#include <memory>
#include <optional>
#include <string>

#include "cli/ctl_session.h"

namespace CLI {
class App;
}

namespace vantor {

// `inject barcode TEXT [--reader 0|1]` and `inject weight GRAMS`: what the
// window's line simulator sends. A barcode without --reader goes out as a
// line of one reader reads it; with --reader, from that reader of a line of
// two. The weight is that of the next box on the scale.
class InjectCommand final : public CtlCommand {
 public:
  struct Barcode {
    std::string text;
    std::optional<int> reader;
  };
  explicit InjectCommand(Barcode barcode) : barcode_(std::move(barcode)) {}
  explicit InjectCommand(int grams) : grams_(grams) {}

  static void addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen);

  void prepare(CtlSession& session) override;
  void connected(CtlSession& session) override;
  void replied(CtlSession& session, int code, ByteView frame) override;

 private:
  std::optional<Barcode> barcode_;
  int grams_ = 0;
};

}  // namespace vantor
