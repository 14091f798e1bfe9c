#pragma once

// What rw4000-sim is told on its command line.

#include <QHostAddress>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace rwsim {

inline constexpr int kExitUsage = 2;
inline constexpr int kExitCannotListen = 1;

struct CommandLine {
  enum class Outcome { Run, Help, Error };

  Outcome outcome = Outcome::Run;
  QString error;  // set when outcome is Error
  QHostAddress host{QHostAddress::LocalHost};
  std::vector<QString> faults;  // fault modes as given, in order
  bool fullTables = false;      // --tables full: 10 tables of 50 parameters
  int logEvents = 5000;         // --log-events: events in the log area, 0 .. 100000
  int integratorPeriod = 0;     // --integrator-period S: side-port messages every S s (0: none)
  int products = 25;            // --products N: the products at start, 0 .. 500
  std::uint32_t seed = 1;       // --seed N: the weight trace

  // arguments excludes the program name.
  static CommandLine parse(const QStringList& arguments);
  static QString usage();
};

// True for an IPv4 address inside 127.0.0.0/8, the only place the simulator
// may listen.
bool isLoopbackV4(const QHostAddress& address);

}  // namespace rwsim
