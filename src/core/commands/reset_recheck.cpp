#include "core/commands/reset_recheck.h"

#include "core/link/logger_transfers.h"
#include "core/messages/messages.h"

namespace lcu {

namespace {

// Data memory holds only what a download of the earlier header copied when nothing that
// places data moved: the data present field, the wrap flag and the buffer table's positions.
bool LoggedSince(const LoggerHeader& downloaded, const LoggerHeader& now) {
  if (now.DataPresent() != downloaded.DataPresent() || now.WrapFlag() != downloaded.WrapFlag() ||
      now.BufferCount() != downloaded.BufferCount())
    return true;
  for (std::size_t i = 0; i <= downloaded.BufferCount(); ++i) {
    const LogBufferEntry was = downloaded.Entry(i);
    const LogBufferEntry is = now.Entry(i);
    if (was.start != is.start || was.end != is.end) return true;
  }
  return false;
}

}  // namespace

ResetRecheck RecheckAfterDownload(CommandContext& ctx, const LoggerHeader& downloaded, LoggerHeader& now) {
  if (!ReadLoggerHeader(ctx.device, now.Bytes())) {
    ShowSystemError(ctx.prompter, msg::kFailedToReadHeaderDot, ctx.device.LastErrorText());
    return ResetRecheck::kNotRead;
  }
  // The state is read last: logging that starts after the header read is seen here, and the
  // reset follows this read directly.
  const bool logging = ctx.device.IsLogging();
  if (!ctx.device.IsOnline()) {
    ShowSystemError(ctx.prompter, msg::kFailedToAccessLcu, ctx.device.LastErrorText());
    return ResetRecheck::kNotRead;
  }
  return logging || LoggedSince(downloaded, now) ? ResetRecheck::kLoggedMore : ResetRecheck::kUnchanged;
}

}  // namespace lcu
