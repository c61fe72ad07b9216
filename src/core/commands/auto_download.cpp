#include "core/commands/auto_download.h"

#include "core/messages/messages.h"

namespace lcu {

DownloadResult AutoDownload(CommandContext& ctx) {
  if (!ctx.app.m_bAutoDownload) {
    DownloadResult off;
    off.result = CommandResult::kDone;
    return off;
  }
  if (ctx.device.IsLogging()) {
    ctx.prompter.Error(msg::kCannotDownloadWhileLogging);
    return {};
  }
  return Download(ctx);
}

}  // namespace lcu
