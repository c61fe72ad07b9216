#include "core/logger/lcu_clock.h"

namespace lcu {

namespace {

constexpr int kMinutesPerHour = 60;

}  // namespace

std::uint16_t ClockMinutesOf(const LocalTime& time) {
  return static_cast<std::uint16_t>(time.hour * kMinutesPerHour + time.minute);
}

}  // namespace lcu
