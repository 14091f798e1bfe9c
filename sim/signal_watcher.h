#pragma once

// Turns SIGTERM/SIGINT into a Qt signal on the event loop. The handler only
// writes the signal number into a socket pair; the loop reads it from there.

#include <QObject>
#include <initializer_list>
#include <vector>

class QSocketNotifier;

namespace rwsim {

class SignalWatcher : public QObject {
  Q_OBJECT

 public:
  // Only one watcher may exist at a time.
  explicit SignalWatcher(std::initializer_list<int> signalNumbers, QObject* parent = nullptr);
  ~SignalWatcher() override;

  SignalWatcher(const SignalWatcher&) = delete;
  SignalWatcher& operator=(const SignalWatcher&) = delete;

 signals:
  void received(int signalNumber);

 private:
  void onReadable();

  std::vector<int> signalNumbers_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace rwsim
