#pragma once
// rw4000-sim as a child process of a benchmark, on a loopback address.
#include <QProcess>
#include <QString>
#include <QStringList>
#include <vector>

namespace vantor::bench {

class SimHost {
 public:
  // extraArgs: further simulator options, e.g. {"--tables", "full"}.
  explicit SimHost(const QString& host, const QStringList& extraArgs = {});
  ~SimHost();
  bool ready() const { return ready_; }

 private:
  QProcess process_;
  bool ready_ = false;
};

// The median of a handful of measurements.
double median(std::vector<double> values);

}  // namespace vantor::bench
