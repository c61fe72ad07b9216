// Read Hex File: dumps the LCU's 32768 bytes of program memory (LCU 0x0000 to 0x7FFF) into a
// file. The file counts as written only once it has been committed to disk; it replaces an
// existing file of its name only then, so a failed save leaves that file intact.
#pragma once

#include <string>

#include "core/app/command_context.h"
#include "core/commands/maintenance_blocks.h"

namespace lcu {

struct ReadProgramResult {
  CommandResult result = CommandResult::kFailed;
  /// The file the dump was saved in; empty unless the command succeeded.
  std::string path;
};

/// Refuses while a download runs or the LCU is off line, reads the program memory, saves it
/// and says "Hex file downloaded" (an information box). Every failure shows its own message.
ReadProgramResult ReadProgram(CommandContext& ctx, const std::string& path = DefaultProgramDumpPath());

}  // namespace lcu
