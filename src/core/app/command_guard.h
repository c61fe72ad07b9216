// How every LCU command starts: it takes the link's lease before it sends anything, and is
// refused while another command holds the link (a download, in practice: the one command that
// lets events through while it runs) or while the LCU is off line. Each command shows the
// off-line message in the form it has always used.
#pragma once

#include <string_view>

#include "core/app/command_context.h"
#include "core/link/command_lease.h"

namespace lcu {

enum class OfflineForm {
  kPlain,     // "LCU is off-line"
  kFullStop,  // "LCU is off-line."
};

/// The off-line message in that form.
std::string_view OfflineMessage(OfflineForm form);

/// The lease for the command's run; empty, with "A download is in progress..." shown, while
/// another command holds the link or a block read is under way.
CommandLease BeginCommand(CommandContext& ctx, CommandKind kind = CommandKind::kCommand);

/// True, with the off-line message shown in the command's form, while the LCU is off line.
bool RefusedOffline(CommandContext& ctx, OfflineForm form);

/// Both refusals, the running command first: the lease, empty when the command may not start.
CommandLease BeginLcuCommand(CommandContext& ctx, OfflineForm form);

}  // namespace lcu
