// MemoryPaneTip: the tooltip of the status bar's memory pane. "MEM: N" is terse; the tip
// says what N counts and, when the LCU check has looked at this LCU's header in this run,
// how much of the buffers' room the logged data took then.
#pragma once

#include <cstdint>
#include <optional>

#include <QString>

#include "core/host/clock.h"
#include "core/logger/lcu_status_block.h"
#include "core/logger/logged_memory_use.h"

namespace lcu::gui {

/// What an LCU check found of the memory use, and of which LCU and when.
struct CheckedMemoryUse {
  std::uint16_t lcuNumber = 0;
  LoggedMemoryUse use;
  LocalTime when;
};

/// The tip for the status block of the last poll; checked is left out when it belongs to
/// another LCU.
QString MemoryPaneTip(const LcuStatusBlock& status, const std::optional<CheckedMemoryUse>& checked);

}  // namespace lcu::gui
