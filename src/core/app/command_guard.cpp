#include "core/app/command_guard.h"

#include "core/messages/messages.h"

namespace lcu {

std::string_view OfflineMessage(OfflineForm form) {
  return form == OfflineForm::kFullStop ? msg::kLcuOfflineDot : msg::kLcuOffline;
}

CommandLease BeginCommand(CommandContext& ctx, CommandKind kind) {
  CommandLease lease = ctx.link.BeginCommand(kind);
  if (!lease) ctx.prompter.Error(msg::kDownloadInProgress);
  return lease;
}

bool RefusedOffline(CommandContext& ctx, OfflineForm form) {
  if (ctx.device.IsOnline()) return false;
  ctx.prompter.Error(OfflineMessage(form));
  return true;
}

CommandLease BeginLcuCommand(CommandContext& ctx, OfflineForm form) {
  CommandLease lease = BeginCommand(ctx);
  if (lease && RefusedOffline(ctx, form)) return {};
  return lease;
}

}  // namespace lcu
