// A Clock for tests: a fixed local time that moves only when the test says so, and pauses
// that are recorded instead of waited for; the monotonic time moves by the pauses and by
// Advance.
#pragma once

#include <chrono>
#include <vector>

#include "core/host/clock.h"

namespace lcu::test {

class FixedClock : public Clock {
 public:
  explicit FixedClock(LocalTime time = {2026, 12, 4, 13, 52, 44, 123}) : now(time) {}
  LocalTime Now() override { return now; }
  TimePoint Monotonic() override { return monotonic; }
  void Sleep(std::chrono::milliseconds duration) override {
    sleeps.push_back(duration);
    monotonic += duration;
  }
  void Advance(std::chrono::milliseconds duration) { monotonic += duration; }

  LocalTime now;
  TimePoint monotonic{};
  std::vector<std::chrono::milliseconds> sleeps;
};

}  // namespace lcu::test
