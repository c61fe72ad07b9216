// The note a value cell carries while its value is not live: when the value was read and how
// long ago ("last read 14:02:11, 55 s ago"), so that a technician never takes an old value
// for the engine's state now.
#pragma once

#include <cstdint>

#include <QString>

#include "core/host/clock.h"

namespace lcu::gui {

/// The note for a value read at the local time read, seconds ago.
QString LastReadText(const LocalTime& read, std::int64_t seconds);

}  // namespace lcu::gui
