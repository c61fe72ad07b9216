// Extract Setup: stores the LCU's 16384-byte logger header, status part included, in a file
// (the logger setup). The file replaces an existing one only once it is committed to disk.
#pragma once

#include <string>

#include "core/app/command_context.h"
#include "core/commands/maintenance_blocks.h"

namespace lcu {

struct ExtractSetupResult {
  CommandResult result = CommandResult::kFailed;
  /// The file the header was saved in; empty unless the command succeeded.
  std::string path;
};

/// Refuses while a download runs or the LCU is off line, asks (No sends nothing), then reads
/// the header and saves it. There is no message on success.
ExtractSetupResult ExtractSetup(CommandContext& ctx, const std::string& path = DefaultSetupExtractPath());

}  // namespace lcu
