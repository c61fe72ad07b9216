// Set LCU Clock: puts the computer's local time of day into the LCU clock, so that the times
// the LCU keeps during a run agree with the computer's.
//
// The clock is the u16 count of minutes at offset 6 of the status block (LCU 0x8000 to
// 0x803F). The LCU takes that block only whole, through the bulk write that Initialize LCU
// uses, so the command reads the block, changes the clock alone and writes the 64 bytes back.
// The read and the write follow each other with nothing in between (no question, no event
// processing): a field the LCU itself changes in the block between them (the memory figure
// while it logs) goes back as read, a few milliseconds old.
#pragma once

#include <cstdint>

#include "core/app/command_context.h"
#include "core/host/clock.h"
#include "core/logger/maintenance_blocks.h"

namespace lcu {

/// The LCU clock's count for a local time: minutes since midnight, 0 to 1439.
std::uint16_t ClockMinutesOf(const LocalTime& time);

/// Set LCU Clock: refuses while a download runs or the LCU is off line, asks (No keeps the
/// clock), then reads the status block, puts the computer's minutes since midnight into its
/// clock and writes the block back. On success, written (when given) holds the block as
/// written. There is no message on success.
CommandResult OnSetLcuClock(CommandContext& ctx, StatusBlock* written = nullptr);

}  // namespace lcu
