#include "platform/qt_seams.h"

#include <QDateTime>
#include <chrono>

#include "platform/qt_socket.h"
#include "platform/qt_timer.h"

namespace vantor {

int64_t SystemClock::monotonicMs() const {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

LocalTime SystemClock::localTime() const {
  const QDateTime now = QDateTime::currentDateTime();
  return {now.date().year(), now.date().month(),  now.date().day(),
          now.time().hour(), now.time().minute(), now.time().second()};
}

std::unique_ptr<Socket> QtSeams::makeSocket() { return std::make_unique<QtSocket>(); }
std::unique_ptr<Timer> QtSeams::makeTimer() { return std::make_unique<QtTimer>(); }

}  // namespace vantor
