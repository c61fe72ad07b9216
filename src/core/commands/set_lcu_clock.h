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
#include "core/commands/maintenance_blocks.h"

namespace lcu {

struct SetLcuClockResult {
  CommandResult result = CommandResult::kFailed;
  /// The clock set: minutes since midnight, 0 to 1439.
  std::uint16_t minutes = 0;
  /// The status block as written; zeros unless the command succeeded.
  StatusBlock written{};
};

/// Refuses while a download runs or the LCU is off line, asks (No keeps the clock), then
/// reads the status block, puts the computer's minutes since midnight into its clock and
/// writes the block back. There is no message on success.
SetLcuClockResult SetLcuClock(CommandContext& ctx);

}  // namespace lcu
