// Auto Download: the download the program runs by itself when the LCU comes on line, if the
// Auto Download setting is on.
#pragma once

#include "core/app/command_context.h"
#include "core/commands/download.h"

namespace lcu {

/// With Auto Download off: kDone, and nothing is sent or shown. With it on: refused, with the
/// download's own message, when the last logging state read says the LCU logs; otherwise the
/// Download command.
DownloadResult AutoDownload(CommandContext& ctx);

}  // namespace lcu
