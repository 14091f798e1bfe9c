#include "processes.h"

namespace vantor::e2e {

SimProcess::SimProcess(const QString& host, const QStringList& faults) {
  QStringList args{"--host", host};
  for (const QString& f : faults) args << "--fault" << f;
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process_.start(RW4000_SIM_PATH, args);
  if (!process_.waitForStarted(10000)) return;
  const QByteArray expected = "rw4000-sim listening on " + host.toUtf8();
  while (!process_.canReadLine()) {
    if (!process_.waitForReadyRead(10000)) return;
  }
  ready_ = process_.readLine().trimmed() == expected;
}

SimProcess::~SimProcess() { stop(); }

void SimProcess::control(const QString& line) {
  process_.write((line + "\n").toUtf8());
  process_.waitForBytesWritten(1000);
}

void SimProcess::stop() {
  if (process_.state() == QProcess::NotRunning) return;
  process_.terminate();
  if (!process_.waitForFinished(5000)) {
    process_.kill();
    process_.waitForFinished(5000);
  }
}

CtlResult runCtl(const QStringList& args, int waitMs) {
  QProcess ctl;
  ctl.start(VANTORCTL_PATH, args);
  CtlResult r;
  if (!ctl.waitForFinished(waitMs)) {
    ctl.kill();
    ctl.waitForFinished();
    return r;
  }
  r.exitCode = ctl.exitStatus() == QProcess::NormalExit ? ctl.exitCode() : -1;
  r.out = ctl.readAllStandardOutput().toStdString();
  r.err = ctl.readAllStandardError().toStdString();
  return r;
}

}  // namespace vantor::e2e
