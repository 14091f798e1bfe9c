#include "launcher/sim_process.h"

#include <QDeadlineTimer>
#include <algorithm>

namespace rwsim {

SimProcess::SimProcess(const QString& host, const QStringList& faults,
                       const QStringList& extraArgs) {
  QStringList args{QStringLiteral("--host"), host};
  for (const QString& f : faults) args << QStringLiteral("--fault") << f;
  args << extraArgs;
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process_.start(QStringLiteral(RW4000_SIM_PATH), args);
  const QByteArray wanted = "rw4000-sim listening on " + host.toLatin1();
  QDeadlineTimer deadline(10000);
  while (!deadline.hasExpired() && process_.state() != QProcess::NotRunning) {
    while (process_.canReadLine())
      if (process_.readLine().trimmed() == wanted) {
        ready_ = true;
        return;
      }
    process_.waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
  }
}

SimProcess::~SimProcess() { stop(); }

void SimProcess::control(const QString& line) {
  process_.write((line + QStringLiteral("\n")).toUtf8());
  process_.waitForBytesWritten(1000);
}

int SimProcess::stop() {
  if (process_.state() == QProcess::NotRunning) return process_.exitCode();
  process_.terminate();
  if (!process_.waitForFinished(5000)) {
    process_.kill();
    process_.waitForFinished(5000);
    return -1;
  }
  return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

}  // namespace rwsim
