// The last look at the LCU before the reset that empties it after a download. The LCU may
// start logging while a download runs (a second program, or the LCU on its own); the reset
// would then erase data that is in no file. So, just before the reset, the logging state and
// the header are read again and compared with the header that was downloaded.
#pragma once

#include "core/app/command_context.h"
#include "core/logger/logger_header.h"

namespace lcu {

enum class ResetRecheck {
  kUnchanged,   // the LCU holds what was downloaded and is not logging: it may be reset
  kLoggedMore,  // it logs, or logged since the header was read; "please download again" shown
  kNotRead,     // the state or the header could not be read; the read's own message shown
};

/// Reads the logging state (0xFE36) and the header (0x8000) again. The LCU counts as having
/// logged more when it is logging, or when the wrap flag, the buffer count or any buffer's
/// start or end position (end marker included) differs from the downloaded header.
ResetRecheck RecheckBeforeReset(CommandContext& ctx, const LoggerHeader& downloaded);

}  // namespace lcu
