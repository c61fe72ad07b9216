#include "core/commands/read_session_data.h"

#include "core/app/command_guard.h"
#include "core/messages/messages.h"

namespace lcu {

ReadSessionDataResult ReadSessionData(CommandContext& ctx) {
  ReadSessionDataResult outcome;
  const CommandLease run = BeginLcuCommand(ctx, OfflineForm::kPlain);
  if (!run) return outcome;
  if (!ctx.device.VendorRead(LCU_READ_BLOCK, kSessionBlockAddress, 0, kBlockSize, outcome.block)) {
    ShowSystemError(ctx.prompter, msg::kFailedToReadSessionData, ctx.device.LastErrorText());
    return outcome;
  }
  outcome.values = SessionValuesOf(outcome.block);
  outcome.ranges = SessionValueRanges(outcome.block);
  outcome.result = CommandResult::kDone;
  return outcome;
}

}  // namespace lcu
