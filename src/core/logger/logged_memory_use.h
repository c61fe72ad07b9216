// LoggedMemoryUse: how much of the room that a logger header's buffer table lays out the
// logged data takes, the figure the LCU check reports and the status bar's memory pane
// explains.
#pragma once

#include <cstdint>
#include <optional>

#include "core/logger/logger_header.h"

namespace lcu {

struct LoggedMemoryUse {
  std::uint64_t usedBytes = 0;      // the data of every buffer, as a download would read it
  std::uint64_t capacityBytes = 0;  // from the first buffer's start to the end marker's
  /// The used share in whole percent, rounded down; 0 for a table without room.
  std::uint64_t Percent() const { return capacityBytes == 0 ? 0 : usedBytes * 100 / capacityBytes; }
};

/// The memory use a header's buffer table describes; none when the header's memory size or
/// buffer table is not valid, so that no figure is made up from a damaged header.
std::optional<LoggedMemoryUse> MemoryUseOf(const LoggerHeader& header);

}  // namespace lcu
