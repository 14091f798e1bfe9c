#include "command_line.h"

#include "fault_set.h"

namespace rwsim {

namespace {

// Splits "--opt=value" or takes the value from the next argument.
bool takeValue(const QStringList& args, qsizetype& i, const QString& option, QString& value) {
  const QString& arg = args[i];
  if (arg.startsWith(option + QLatin1Char('='))) {
    value = arg.mid(option.size() + 1);
    return true;
  }
  if (arg == option && i + 1 < args.size()) {
    value = args[++i];
    return true;
  }
  return false;
}

bool isOption(const QString& arg, const QString& option) {
  return arg == option || arg.startsWith(option + QLatin1Char('='));
}

CommandLine failed(QString error) {
  CommandLine result;
  result.outcome = CommandLine::Outcome::Error;
  result.error = std::move(error);
  return result;
}

}  // namespace

bool isLoopbackV4(const QHostAddress& address) {
  return address.protocol() == QAbstractSocket::IPv4Protocol &&
         address.isInSubnet(QHostAddress(QStringLiteral("127.0.0.0")), 8);
}

CommandLine CommandLine::parse(const QStringList& arguments) {
  CommandLine result;
  FaultSet check;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& arg = arguments[i];
    QString value;
    if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
      result.outcome = Outcome::Help;
      return result;
    }
    if (isOption(arg, QStringLiteral("--host"))) {
      if (!takeValue(arguments, i, QStringLiteral("--host"), value)) {
        return failed(QStringLiteral("--host needs an address, e.g. --host 127.0.0.2"));
      }
      const QHostAddress address(value);
      if (address.isNull() || !isLoopbackV4(address)) {
        return failed(QStringLiteral("refusing host '%1': the simulator listens only on "
                                     "loopback addresses 127.0.0.0/8")
                          .arg(value));
      }
      result.host = address;
      continue;
    }
    if (isOption(arg, QStringLiteral("--tables"))) {
      if (!takeValue(arguments, i, QStringLiteral("--tables"), value) ||
          (value != QLatin1String("standard") && value != QLatin1String("full"))) {
        return failed(QStringLiteral("--tables needs 'standard' or 'full'"));
      }
      result.fullTables = value == QLatin1String("full");
      continue;
    }
    if (isOption(arg, QStringLiteral("--log-events"))) {
      bool ok = false;
      const int n =
          takeValue(arguments, i, QStringLiteral("--log-events"), value) ? value.toInt(&ok) : -1;
      if (!ok || n < 0 || n > 100000) {
        return failed(QStringLiteral("--log-events needs a count from 0 to 100000"));
      }
      result.logEvents = n;
      continue;
    }
    if (isOption(arg, QStringLiteral("--integrator-period"))) {
      bool ok = false;
      if (takeValue(arguments, i, QStringLiteral("--integrator-period"), value)) {
        result.integratorPeriod = value.toInt(&ok);
      }
      if (!ok || result.integratorPeriod < 0 || result.integratorPeriod > 3600) {
        return failed(QStringLiteral("--integrator-period needs seconds from 0 to 3600"));
      }
      continue;
    }
    if (isOption(arg, QStringLiteral("--products"))) {
      bool number = false;
      const int n =
          takeValue(arguments, i, QStringLiteral("--products"), value) ? value.toInt(&number) : -1;
      if (!number || n < 0 || n > 500) {
        return failed(QStringLiteral("--products needs a number of products from 0 to 500"));
      }
      result.products = n;
      continue;
    }
    if (isOption(arg, QStringLiteral("--seed"))) {
      bool ok = false;
      if (takeValue(arguments, i, QStringLiteral("--seed"), value)) result.seed = value.toUInt(&ok);
      if (!ok) return failed(QStringLiteral("--seed needs a number 0 .. 4294967295"));
      continue;
    }
    if (isOption(arg, QStringLiteral("--fault"))) {
      if (!takeValue(arguments, i, QStringLiteral("--fault"), value)) {
        return failed(QStringLiteral("--fault needs a mode, see --help"));
      }
      if (const auto error = check.add(value.toStdString())) {
        return failed(QString::fromStdString(*error));
      }
      result.faults.push_back(value);
      continue;
    }
    return failed(QStringLiteral("unknown argument '%1', see --help").arg(arg));
  }
  return result;
}

QString CommandLine::usage() {
  return QStringLiteral(
             "Usage: rw4000-sim [--host 127.0.0.N] [--tables standard|full] [--log-events N]\n"
             "                  [--products N] [--seed N] [--fault MODE]... [--integrator-period "
             "S]\n"
             "\n"
             "A simulated RW4000 line controller on loopback. It listens on ports 47000\n"
             "(main), 49000, 46000, 47001 and 46990 of HOST, then prints\n"
             "'rw4000-sim listening on HOST'. SIGTERM or SIGINT ends it cleanly.\n"
             "\n"
             "Options:\n"
             "  --host ADDR    address to listen on, inside 127.0.0.0/8 (default 127.0.0.1)\n"
             "  --tables SHAPE the parameter tables: 'standard' (default), seven tables of a\n"
             "                 commissioned line, or 'full', ten tables of fifty parameters\n"
             "  --log-events N events in the device's event log, 0 to 100000 (default 5000)\n"
             "  --products N   the products the device holds at start, 0 to 500 (default 25);\n"
             "                 each has a code, a description, a lot and seven numbers\n"
             "  --seed N       the weight trace's seed (default 1); equal seeds, equal traces\n"
             "  --fault MODE   turn on a fault mode; may be given several times\n"
             "  --integrator-period S  every S seconds send a request on 49000 and a\n"
             "                 message on 46000 (default 0: only on the control line)\n"
             "  -h, --help     show this text\n"
             "\n"
             "Fault modes:\n") +
         QString::fromStdString(FaultSet::modeHelp()) +
         QStringLiteral(
             "\n"
             "Control on standard input, one command per line:\n"
             "  fault MODE     turn on a fault mode while running\n"
             "  clear          turn all fault modes off\n"
             "  integrator send CODE  send device request CODE (0 .. 499) on port 49000\n"
             "Replies to control lines go to standard error. End of input is ignored.\n"
             "\n"
             "Exit codes: 0 stopped by signal, 1 a port could not be opened, 2 bad arguments.\n");
}

}  // namespace rwsim
