#include "core/host/clock.h"

#include <ctime>
#include <thread>

namespace lcu {
namespace {

// Days from 1970-01-01 to a civil date (Howard Hinnant's algorithm).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2 ? 1 : 0;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned mp = m > 2 ? m - 3 : m + 9;
  const unsigned doy = (153 * mp + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(y + (month <= 2 ? 1 : 0));
}

constexpr std::int64_t kDays1601To1970 = 134774;
constexpr std::uint64_t kTicksPerMillisecond = 10000;
constexpr std::uint64_t kTicksPerSecond = 10000000;

}  // namespace

std::uint64_t FileTimeFromLocal(const LocalTime& t) {
  const std::int64_t days =
      DaysFromCivil(t.year, static_cast<unsigned>(t.month), static_cast<unsigned>(t.day)) + kDays1601To1970;
  const std::int64_t seconds = days * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
  return static_cast<std::uint64_t>(seconds) * kTicksPerSecond +
         static_cast<std::uint64_t>(t.millisecond) * kTicksPerMillisecond;
}

LocalTime LocalFromFileTime(std::uint64_t fileTime) {
  LocalTime t;
  const auto seconds = static_cast<std::int64_t>(fileTime / kTicksPerSecond);
  t.millisecond = static_cast<int>((fileTime % kTicksPerSecond) / kTicksPerMillisecond);
  const std::int64_t days = seconds / 86400;
  const std::int64_t rest = seconds % 86400;
  CivilFromDays(days - kDays1601To1970, t.year, t.month, t.day);
  t.hour = static_cast<int>(rest / 3600);
  t.minute = static_cast<int>((rest / 60) % 60);
  t.second = static_cast<int>(rest % 60);
  return t;
}

LocalTime SystemClock::Now() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  // Everything runs on one thread, so the library's shared result is safe to copy.
  const std::tm tm = *std::localtime(&seconds);
  LocalTime t;
  t.year = tm.tm_year + 1900;
  t.month = tm.tm_mon + 1;
  t.day = tm.tm_mday;
  t.hour = tm.tm_hour;
  t.minute = tm.tm_min;
  t.second = tm.tm_sec;
  t.millisecond = static_cast<int>(ms < 0 ? 0 : ms);
  return t;
}

Clock::TimePoint SystemClock::Monotonic() { return std::chrono::steady_clock::now(); }

void SystemClock::Sleep(std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); }

}  // namespace lcu
