#pragma once
// SIGTERM and SIGINT close the window the normal way (FormDestroy writes the
// settings file) instead of ending the process in the middle of the loop.
#include <QObject>
#include <initializer_list>

class QSocketNotifier;

namespace vantor {

class StopSignals : public QObject {
  Q_OBJECT

 public:
  explicit StopSignals(std::initializer_list<int> signalNumbers, QObject* parent = nullptr);
  ~StopSignals() override;

 signals:
  void received();

 private:
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace vantor
