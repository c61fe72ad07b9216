// Read Session Data: the LCU's session block (LCU 0x8040 to 0x807F) and the four values it
// holds as the user sees them, with the ranges the block can store of each.
#pragma once

#include "core/app/command_context.h"
#include "core/host/prompter.h"
#include "core/logger/session_block.h"

namespace lcu {

struct ReadSessionDataResult {
  CommandResult result = CommandResult::kFailed;
  /// The block as read; WriteSessionData writes its changes into it.
  SessionBlock block{};
  /// Session, outing, lap count and pace laps as the LCU holds them.
  SessionDataValues values;
  /// What the block can hold of each value (SessionValueRanges).
  SessionDataRanges ranges{};
};

/// Refuses while a download runs or the LCU is off line ("LCU is off-line"), then reads the
/// block with one 64-byte read. Shows nothing on success.
ReadSessionDataResult ReadSessionData(CommandContext& ctx);

}  // namespace lcu
