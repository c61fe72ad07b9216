#include "core/session/reading_freshness.h"

namespace lcu {

bool AreReadingsCurrent(std::optional<Clock::TimePoint> takenAt, Clock::TimePoint now, bool online) {
  return online && takenAt.has_value() && now - *takenAt <= kReadingsCurrentFor;
}

std::int64_t SecondsSince(Clock::TimePoint takenAt, Clock::TimePoint now) {
  if (now <= takenAt) return 0;
  return std::chrono::duration_cast<std::chrono::seconds>(now - takenAt).count();
}

}  // namespace lcu
