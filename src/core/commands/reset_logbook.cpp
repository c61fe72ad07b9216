#include "core/commands/reset_logbook.h"

#include "core/app/command_guard.h"
#include "core/commands/maintenance_blocks.h"
#include "core/host/clock.h"
#include "core/link/logger_transfers.h"
#include "core/logger/logger_header.h"
#include "core/messages/messages.h"

namespace lcu {

ResetLogbookResult ResetLogbook(CommandContext& ctx) {
  ResetLogbookResult outcome;
  const CommandLease run = BeginLcuCommand(ctx, OfflineForm::kFullStop);
  if (!run) return outcome;
  if (!ctx.prompter.AskQuestion(msg::kResetLogbookContinue)) {
    outcome.result = CommandResult::kDeclined;
    return outcome;
  }
  LoggerHeader header;
  if (!ReadLoggerHeader(ctx.device, header.Bytes())) {
    ShowSystemError(ctx.prompter, msg::kFailedToResetLogbook, ctx.device.LastErrorText());
    return outcome;
  }
  const std::uint64_t resetTime = FileTimeFromLocal(ctx.clock.Now());
  ResetLogbookFields(header, resetTime);
  if (!WriteLoggerHeader(ctx.device, header.Bytes())) {
    ShowSystemError(ctx.prompter, msg::kFailedToResetLogbook, ctx.device.LastErrorText());
    return outcome;
  }
  outcome.result = CommandResult::kDone;
  outcome.resetFileTime = resetTime;
  return outcome;
}

}  // namespace lcu
