#include "support/sim_host.h"

#include <algorithm>
#include <vector>

namespace vantor::bench {

SimHost::SimHost(const QString& host, const QStringList& extraArgs) {
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process_.start(RW4000_SIM_PATH, QStringList{"--host", host} + extraArgs);
  if (!process_.waitForStarted(10000)) return;
  while (!process_.canReadLine())
    if (!process_.waitForReadyRead(10000)) return;
  ready_ = process_.readLine().startsWith("rw4000-sim listening on");
}

SimHost::~SimHost() {
  process_.terminate();
  if (!process_.waitForFinished(5000)) process_.kill();
  process_.waitForFinished(5000);
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace vantor::bench
