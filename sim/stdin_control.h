#pragma once

// Reads control lines (see control_line.h) from standard input while the
// simulator runs. End of input or a closed stdin only stops the reading.

#include <QByteArray>
#include <QObject>

#include "fault_set.h"

class QSocketNotifier;

namespace rwsim {

class StdinControl : public QObject {
  Q_OBJECT

 public:
  explicit StdinControl(FaultSet& faults, QObject* parent = nullptr);

 signals:
  void faultsChanged();
  void integratorSend(int code);

 private:
  void onReadable();
  void stop();

  FaultSet& faults_;
  QSocketNotifier* notifier_ = nullptr;
  QByteArray pending_;
};

}  // namespace rwsim
