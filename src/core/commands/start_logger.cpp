#include "core/commands/start_logger.h"

#include "core/app/command_guard.h"
#include "core/link/lcu_protocol.h"
#include "core/messages/messages.h"

namespace lcu {

StartLoggerResult StartLogger(CommandContext& ctx, bool on) {
  StartLoggerResult outcome;
  const CommandLease run = BeginCommand(ctx);
  if (!run) return outcome;
  ctx.app.m_bLoggerStarted = on ? 1 : 0;
  ctx.ui.FlagChanged(AppFlag::kLoggerStarted, on);
  outcome.startWord = on ? kStartWordOn : 0;
  if (!ctx.device.VendorWrite(LCU_WRITE_WORD, kStartWordAddress, outcome.startWord)) {
    ShowSystemError(ctx.prompter, msg::kFailedToWriteDataToLcu, ctx.device.LastErrorText());
    return outcome;
  }
  // The start word off stops the logging: a logging state read before no longer holds.
  if (!on) ctx.device.m_bLoggingSeen = 0;
  outcome.result = CommandResult::kDone;
  return outcome;
}

void ResetLoggerStarted(CommandContext& ctx) {
  ctx.app.m_bLoggerStarted = 0;
  ctx.ui.FlagChanged(AppFlag::kLoggerStarted, false);
}

}  // namespace lcu
