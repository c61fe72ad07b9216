// Write Session Data: stores new session, outing, lap and pace-lap values in the session
// block that ReadSessionData read, and writes the block back (LCU 0x8040, 64 bytes).
//
// The write follows the caller's read without another look at the LCU: the laps since the
// reset, which the lap count is stored relative to, are those of that read.
#pragma once

#include <cstddef>
#include <optional>

#include "core/app/command_context.h"
#include "core/host/prompter.h"
#include "core/logger/session_block.h"

namespace lcu {

struct WriteSessionDataResult {
  CommandResult result = CommandResult::kFailed;
  /// The first value (in the dialog's order) that the block cannot hold as given; it was
  /// refused with its range and nothing was written.
  std::optional<std::size_t> refusedField;
  /// The block as written, and the values the LCU shows from now on; set on success.
  SessionBlock written{};
  SessionDataValues stored;
};

/// Refuses a value outside SessionValueRanges(read) with "Please enter an integer between X
/// and Y." and sends nothing; otherwise writes SessionBlockAfterUpdate(read, values). Makes
/// no on-line or download check of its own: it completes the read of the same command.
WriteSessionDataResult WriteSessionData(CommandContext& ctx, const SessionBlock& read, const SessionDataValues& values);

}  // namespace lcu
