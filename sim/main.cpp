// rw4000-sim: a simulated RW4000 line controller listening on loopback.

#include <QCoreApplication>
#include <csignal>
#include <cstdio>

#include "command_line.h"
#include "diagnosis_memory.h"
#include "fault_set.h"
#include "param_tables.h"
#include "products.h"
#include "signal_watcher.h"
#include "sim_device.h"
#include "sim_server.h"
#include "stdin_control.h"

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  const rwsim::CommandLine options = rwsim::CommandLine::parse(app.arguments().mid(1));
  switch (options.outcome) {
    case rwsim::CommandLine::Outcome::Help:
      std::fputs(qPrintable(rwsim::CommandLine::usage()), stdout);
      return 0;
    case rwsim::CommandLine::Outcome::Error:
      std::fprintf(stderr, "rw4000-sim: %s\n", qPrintable(options.error));
      return rwsim::kExitUsage;
    case rwsim::CommandLine::Outcome::Run:
      break;
  }

  rwsim::FaultSet faults;
  for (const QString& mode : options.faults) {
    faults.add(mode.toStdString());  // already checked while parsing
  }

  rwsim::SignalWatcher stopSignals({SIGTERM, SIGINT});
  QObject::connect(&stopSignals, &rwsim::SignalWatcher::received, &app,
                   [] { QCoreApplication::quit(); });

  rwsim::SimDevice device;
  device.weightTrace().setSeed(options.seed);
  if (options.fullTables) {
    device.parTables() = rwsim::SimParTables::full();
  }
  device.diagnosisMemory() =
      rwsim::SimDiagnosisMemory(static_cast<std::uint32_t>(options.logEvents));
  device.products() = rwsim::SimProducts::standard(static_cast<std::size_t>(options.products));
  rwsim::SimServer server(device, faults);
  server.setIntegratorPeriod(options.integratorPeriod);
  QString error;
  if (!server.start(options.host, &error)) {
    std::fprintf(stderr, "rw4000-sim: %s\n", qPrintable(error));
    return rwsim::kExitCannotListen;
  }

  rwsim::StdinControl control(faults);
  QObject::connect(&control, &rwsim::StdinControl::faultsChanged, &server, [&server] {
    QString applyError;
    if (!server.applyFaults(&applyError)) {
      std::fprintf(stderr, "rw4000-sim: %s\n", qPrintable(applyError));
    }
  });

  QObject::connect(&control, &rwsim::StdinControl::integratorSend, &server,
                   [&server](int code) { server.sendIntegratorRequest(code); });

  std::printf("rw4000-sim listening on %s\n", qPrintable(options.host.toString()));
  std::fflush(stdout);
  return app.exec();
}
