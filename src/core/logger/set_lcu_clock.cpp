#include "core/logger/set_lcu_clock.h"

#include "core/app/command_guard.h"
#include "core/app/messages.h"
#include "core/link/logger_transfers.h"
#include "core/logger/logger_header.h"
#include "core/util/little_endian.h"

namespace lcu {

namespace {

constexpr int kMinutesPerHour = 60;

}  // namespace

std::uint16_t ClockMinutesOf(const LocalTime& time) {
  return static_cast<std::uint16_t>(time.hour * kMinutesPerHour + time.minute);
}

CommandResult OnSetLcuClock(CommandContext& ctx, StatusBlock* written) {
  if (CommandRefused(ctx, OfflineForm::kFullStop)) return CommandResult::kFailed;
  if (!ctx.prompter.AskQuestion(msg::kSetLcuClockContinue)) return CommandResult::kDeclined;
  // The time is taken once the user has answered, so that the clock is set to the minute the
  // block is written in.
  const std::uint16_t minutes = ClockMinutesOf(ctx.clock.Now());
  StatusBlock block{};
  if (!ctx.device.VendorRead(LCU_READ_BLOCK, kStatusAddress, 0, kBlockSize, block)) {
    ShowSystemError(ctx.prompter, msg::kFailedToSetLcuClock, ctx.device.LastErrorText());
    return CommandResult::kFailed;
  }
  le::PutU16(block, hdr::kClock, minutes);
  if (!ctx.device.VendorWrite(LCU_BULK_WRITE, kStatusAddress, 0) || !BulkWriteAll(ctx.device, block)) {
    ShowSystemError(ctx.prompter, msg::kFailedToSetLcuClock, ctx.device.LastErrorText());
    return CommandResult::kFailed;
  }
  if (written) *written = block;
  return CommandResult::kDone;
}

}  // namespace lcu
