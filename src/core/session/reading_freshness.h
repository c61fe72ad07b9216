// Whether the values a window shows are still current. A window keeps showing the values of
// its last good exchange when the LCU goes off line, when a download holds the link or when
// an exchange fails; such values must not look live. They count as current while the LCU is
// on line and they are young: a download's pause (during which no document is served) ages
// them just as a broken link does.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

#include "core/host/clock.h"

namespace lcu {

/// How long values stay current after the exchange that brought them: a few periods of a
/// document, so that one late tick on a busy machine does not grey a window.
inline constexpr std::chrono::milliseconds kReadingsCurrentFor{1000};

/// True when values taken at takenAt (none: no values yet) are current at now with the LCU
/// on line or not.
bool AreReadingsCurrent(std::optional<Clock::TimePoint> takenAt, Clock::TimePoint now, bool online);

/// Whole seconds from takenAt to now; 0 when now is not later.
std::int64_t SecondsSince(Clock::TimePoint takenAt, Clock::TimePoint now);

}  // namespace lcu
