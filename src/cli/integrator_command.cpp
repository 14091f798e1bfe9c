#include "cli/integrator_command.h"

#include <CLI/CLI.hpp>
#include <QDateTime>
#include <QTimer>
#include <cmath>
#include <cstdio>

#include "link/text_format.h"

namespace vantor {

std::string printableText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '\t')
      out += "\\t";
    else if (b < 0x20 || b == 0x7F)
      out += format("<%02X>", b);
    else
      out += c;
  }
  return out;
}

void IntegratorCommand::addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen) {
  CLI::App* cmd = app.add_subcommand(
      "integrator",
      "Stand in for the plant's integrator on the device's ports 49000 and 46000: answer the "
      "device's requests and log every message received and sent, one line each.");
  auto answer = std::make_shared<int>(1);
  auto seconds = std::make_shared<double>(0);
  cmd->add_option("--answer", *answer, "the answer selector (SelReg); 0 refuses every request")
      ->check(CLI::Range(0, 2000))
      ->capture_default_str();
  cmd->add_option("--seconds", *seconds, "end after this many seconds (default: run until stopped)")
      ->check(CLI::Range(0.0, 86400.0));
  auto label = std::make_shared<std::string>();
  cmd->add_option("--label", *label,
                  "a label file to send when the device asks for it (its request 82)");
  cmd->callback([&chosen, answer, seconds, label] {
    chosen = std::make_unique<IntegratorCommand>(*answer, *seconds, *label);
  });
}

void IntegratorCommand::prepare(CtlSession& session) {
  Device& d = session.device();
  if (!label_.empty() && !d.labelPrinter.SetPrintClick(label_)) {
    session.fail(kExitFile, d.labelPrinter.controls.memo5.back());
    return;
  }
  d.connection.controls.recOpen = true;
  d.connection.controls.mobOpen = true;
  d.integrator.controls.selReg = answer_;
  trafficId_ = d.integrator.onTraffic.connect([](const IntegratorTraffic& t) {
    const QByteArray stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")).toUtf8();
    std::printf("%s %u %s %s\n", stamp.constData(), t.port, t.sent ? ">" : "<",
                printableText(t.text).c_str());
    std::fflush(stdout);
  });
}

void IntegratorCommand::connected(CtlSession& session) {
  // The status poll keeps the main link checked (and the session's deadline fresh).
  session.device().connection.SelAutoClick(PollMode::Deb);
  if (seconds_ > 0)
    QTimer::singleShot(static_cast<int>(std::ceil(seconds_ * 1000)), Qt::PreciseTimer,
                       [&session] { session.finish(kExitOk); });
}

}  // namespace vantor
