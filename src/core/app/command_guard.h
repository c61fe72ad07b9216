// The refusals every LCU command makes before it sends anything: while a download runs, the
// link is the download's alone; while the LCU is off line, there is nothing to send to. Each
// command shows the off-line message in the form it has always used.
#pragma once

#include <string_view>

#include "core/app/command_context.h"

namespace lcu {

enum class OfflineForm {
  kPlain,     // "LCU is off-line"
  kFullStop,  // "LCU is off-line."
};

/// The off-line message in that form.
std::string_view OfflineMessage(OfflineForm form);

/// True, with "A download is in progress..." shown, while a download runs or the link is
/// busy with a block read.
bool RefusedDuringDownload(CommandContext& ctx);

/// True, with the off-line message shown in the command's form, while the LCU is off line.
bool RefusedOffline(CommandContext& ctx, OfflineForm form);

/// Both refusals, the running download first: what a command checks before it starts.
bool CommandRefused(CommandContext& ctx, OfflineForm form);

}  // namespace lcu
