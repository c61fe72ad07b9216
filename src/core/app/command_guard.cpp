#include "core/app/command_guard.h"

#include "core/app/messages.h"

namespace lcu {

std::string_view OfflineMessage(OfflineForm form) {
  return form == OfflineForm::kFullStop ? msg::kLcuOfflineDot : msg::kLcuOffline;
}

bool RefusedDuringDownload(CommandContext& ctx) {
  // A block read in the middle of its chunks counts as a running download whoever started it.
  if (!ctx.app.m_bDownloadRunning && !ctx.device.m_bBusy) return false;
  ctx.prompter.Error(msg::kDownloadInProgress);
  return true;
}

bool RefusedOffline(CommandContext& ctx, OfflineForm form) {
  if (ctx.device.m_bOnline) return false;
  ctx.prompter.Error(OfflineMessage(form));
  return true;
}

bool CommandRefused(CommandContext& ctx, OfflineForm form) {
  return RefusedDuringDownload(ctx) || RefusedOffline(ctx, form);
}

}  // namespace lcu
