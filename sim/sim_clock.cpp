#include "sim_clock.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "sim_device.h"

namespace rwsim {

namespace {

using namespace std::chrono;

bool number(const Bytes& b, std::size_t at, std::size_t count, int& out) {
  out = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (b[i] < '0' || b[i] > '9') return false;
    out = out * 10 + (b[i] - '0');
  }
  return true;
}

}  // namespace

SimClock::SimClock(std::function<std::uint64_t()> uptimeMs, std::int64_t startSeconds)
    : uptimeMs_(std::move(uptimeMs)), baseSeconds_(startSeconds) {}

std::int64_t SimClock::hostLocalSeconds() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  const sys_days day =
      year_month_day{year{local.tm_year + 1900}, month{static_cast<unsigned>(local.tm_mon + 1)},
                     std::chrono::day{static_cast<unsigned>(local.tm_mday)}};
  return day.time_since_epoch().count() * 86400 + local.tm_hour * 3600 + local.tm_min * 60 +
         local.tm_sec;
}

void SimClock::install(SimDevice& device) {
  device.setHandler(kCmdSetClock, [this](const Frame& r) {
    return Answer{set(r.params) ? kAck : kNak, {}};
  });
  device.setHandler(kCmdReadClock, [this](const Frame&) {
    const std::string text = digits();
    return Answer{kAck, Bytes(text.begin(), text.end())};
  });
}

bool SimClock::set(const Bytes& r) {
  if (r.size() != 16 || r[8] != 0 || r[15] != 0) return false;
  int d = 0, mo = 0, y = 0, h = 0, mi = 0, s = 0;
  if (!number(r, 0, 2, d) || !number(r, 2, 2, mo) || !number(r, 4, 4, y) || !number(r, 9, 2, h) ||
      !number(r, 11, 2, mi) || !number(r, 13, 2, s))
    return false;
  const year_month_day date{year{y}, month{static_cast<unsigned>(mo)},
                            day{static_cast<unsigned>(d)}};
  if (!date.ok() || h > 23 || mi > 59 || s > 59) return false;
  baseSeconds_ = sys_days{date}.time_since_epoch().count() * 86400 + h * 3600 + mi * 60 + s;
  baseUptimeMs_ = uptimeMs_();
  return true;
}

std::string SimClock::digits() const {
  const std::int64_t now =
      baseSeconds_ + static_cast<std::int64_t>((uptimeMs_() - baseUptimeMs_) / 1000);
  std::int64_t days = now / 86400, secs = now % 86400;
  if (secs < 0) {
    secs += 86400;
    --days;
  }
  const year_month_day date{sys_days{std::chrono::days{days}}};
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02u%02u%04d%02d%02d%02d", static_cast<unsigned>(date.day()),
                static_cast<unsigned>(date.month()), static_cast<int>(date.year()),
                static_cast<int>(secs / 3600), static_cast<int>(secs / 60 % 60),
                static_cast<int>(secs % 60));
  return buf;
}

}  // namespace rwsim
