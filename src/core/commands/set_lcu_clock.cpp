#include "core/commands/set_lcu_clock.h"

#include "core/app/command_guard.h"
#include "core/logger/lcu_clock.h"
#include "core/logger/logger_header.h"
#include "core/messages/messages.h"
#include "core/util/little_endian.h"

namespace lcu {

SetLcuClockResult SetLcuClock(CommandContext& ctx) {
  SetLcuClockResult outcome;
  const CommandLease run = BeginLcuCommand(ctx, OfflineForm::kFullStop);
  if (!run) return outcome;
  if (!ctx.prompter.AskQuestion(msg::kSetLcuClockContinue)) {
    outcome.result = CommandResult::kDeclined;
    return outcome;
  }
  // The time is taken once the user has answered, so that the clock is set to the minute the
  // block is written in.
  outcome.minutes = ClockMinutesOf(ctx.clock.Now());
  StatusBlock block{};
  if (!ctx.device.VendorRead(LCU_READ_BLOCK, kStatusAddress, 0, kBlockSize, block)) {
    ShowSystemError(ctx.prompter, msg::kFailedToSetLcuClock, ctx.device.LastErrorText());
    return outcome;
  }
  le::PutU16(block, hdr::kClock, outcome.minutes);
  if (!WriteBlock(ctx.device, kStatusAddress, block)) {
    ShowSystemError(ctx.prompter, msg::kFailedToSetLcuClock, ctx.device.LastErrorText());
    return outcome;
  }
  outcome.result = CommandResult::kDone;
  outcome.written = block;
  return outcome;
}

}  // namespace lcu
