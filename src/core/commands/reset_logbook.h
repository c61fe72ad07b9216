// Reset Logbook: clears the LCU's engine logbook and stamps it with the local time. The
// header is read, its logbook fields reset, and bytes 0x40 to 0x3FFF written back.
#pragma once

#include <cstdint>

#include "core/app/command_context.h"

namespace lcu {

struct ResetLogbookResult {
  CommandResult result = CommandResult::kFailed;
  /// The reset time written into the logbook (a Windows file-time count); 0 unless the
  /// command succeeded.
  std::uint64_t resetFileTime = 0;
};

/// Refuses while a download runs or the LCU is off line, asks (No sends nothing), then reads
/// the header and writes it back with the logbook reset. There is no message on success.
ResetLogbookResult ResetLogbook(CommandContext& ctx);

}  // namespace lcu
