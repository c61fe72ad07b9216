// Local wall-clock time, a monotonic time for periods, and pauses, behind an interface so
// that tests can fix the time.
#pragma once

#include <chrono>
#include <cstdint>

namespace lcu {

/// A local civil time with millisecond resolution.
struct LocalTime {
  int year = 1601;
  int month = 1;  // 1 to 12
  int day = 1;    // 1 to 31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

class Clock {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;

  virtual ~Clock() = default;
  virtual LocalTime Now() = 0;
  /// A time that only moves forward, whatever the user does to the wall clock: what periods
  /// and due times are measured in.
  virtual TimePoint Monotonic() = 0;
  virtual void Sleep(std::chrono::milliseconds duration) = 0;
};

/// The host's local time and real pauses.
class SystemClock final : public Clock {
 public:
  LocalTime Now() override;
  TimePoint Monotonic() override;
  void Sleep(std::chrono::milliseconds duration) override;
};

/// The Windows file-time count of a local civil time: 100-nanosecond intervals since
/// 1601-01-01 00:00, computed from the calendar alone (proleptic Gregorian).
std::uint64_t FileTimeFromLocal(const LocalTime& time);

/// The inverse of FileTimeFromLocal (for showing stored times).
LocalTime LocalFromFileTime(std::uint64_t fileTime);

}  // namespace lcu
