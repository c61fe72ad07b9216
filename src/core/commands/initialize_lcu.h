// Initialize LCU: gives a new LCU its number by replacing its whole status block (LCU 0x8000
// to 0x803F) with zeros, memory size 2 and the number. A new status block can leave logged
// data beyond its memory size unreadable, so the command says so when the LCU holds data.
#pragma once

#include <cstdint>

#include "core/app/command_context.h"
#include "core/commands/maintenance_blocks.h"

namespace lcu {

struct InitializeLcuResult {
  CommandResult result = CommandResult::kFailed;
  /// The number entered in the dialog; 0 while none was.
  std::uint16_t lcuNumber = 0;
  /// The LCU held logged data when it was asked about (the question said so).
  bool heldData = false;
  /// The status block as written; zeros unless the command succeeded.
  StatusBlock written{};
};

/// Refuses while a download runs or the LCU is off line, asks for the number (the Initialize
/// LCU dialog; a number outside 0 to 65535 is refused), reads whether the LCU holds data and
/// asks before it writes the block. There is no message on success.
InitializeLcuResult InitializeLcu(CommandContext& ctx);

}  // namespace lcu
