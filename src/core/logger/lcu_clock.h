// The LCU clock: a u16 count of minutes since midnight at offset 6 of the status block.
#pragma once

#include <cstdint>

#include "core/host/clock.h"

namespace lcu {

/// The LCU clock's count for a local time: minutes since midnight, 0 to 1439.
std::uint16_t ClockMinutesOf(const LocalTime& time);

}  // namespace lcu
