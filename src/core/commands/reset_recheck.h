// The last look at the LCU after a download, before it is emptied or the data file is
// recorded. The LCU may start logging while a download runs (a second program, or the LCU on
// its own): a reset would then erase data that is in no file, and a wrapped buffer read
// while the LCU wrote into it mixes older and newer data in the file. So the header and then
// the logging state are read again and compared with the header that was downloaded.
//
// The reset's write must follow the logging-state read with no transfer between them: the
// header read here is the one the reset carries its counters from.
#pragma once

#include "core/app/command_context.h"
#include "core/logger/logger_header.h"

namespace lcu {

enum class ResetRecheck {
  kUnchanged,   // the LCU holds what was downloaded and is not logging
  kLoggedMore,  // it logs, or logged since the header was read; nothing shown
  kNotRead,     // the header or the state could not be read; the read's own message shown
};

/// Reads the header (0x8000) into now, then the logging state (0xFE36). The LCU counts as
/// having logged more when it is logging, or when the data present field, the wrap flag, the
/// buffer count or any buffer's start or end position (end marker included) differs from the
/// downloaded header.
ResetRecheck RecheckAfterDownload(CommandContext& ctx, const LoggerHeader& downloaded, LoggerHeader& now);

}  // namespace lcu
