#include "core/commands/initialize_lcu.h"

#include <optional>

#include "core/app/command_guard.h"
#include "core/logger/logger_header.h"
#include "core/logger/session_block.h"
#include "core/messages/messages.h"
#include "core/util/little_endian.h"

namespace lcu {

InitializeLcuResult InitializeLcu(CommandContext& ctx) {
  InitializeLcuResult outcome;
  const CommandLease run = BeginLcuCommand(ctx, OfflineForm::kFullStop);
  if (!run) return outcome;
  const std::optional<std::int32_t> number = ctx.prompter.RunInitLcuDialog();
  if (!number) {
    outcome.result = CommandResult::kDeclined;
    return outcome;
  }
  if (*number < 0 || *number > kLargestLcuNumber) {
    ctx.prompter.Error(msg::kEnterIntegerInLcuRange);
    return outcome;
  }
  outcome.lcuNumber = static_cast<std::uint16_t>(*number);
  SessionBlock session{};
  if (!ctx.device.VendorRead(LCU_READ_BLOCK, kSessionBlockAddress, 0, kBlockSize, session)) {
    ShowSystemError(ctx.prompter, msg::kFailedToInitializeLcu, ctx.device.LastErrorText());
    return outcome;
  }
  outcome.heldData = le::U32(session, hdr::kDataPresent - kSessionBlockBase) != 0;
  if (!ctx.prompter.AskQuestion(outcome.heldData ? msg::kInitializeLcuWithData : msg::kInitializeLcuContinue)) {
    outcome.result = CommandResult::kDeclined;
    return outcome;
  }
  const StatusBlock block = InitLcuBlock(outcome.lcuNumber);
  if (!WriteBlock(ctx.device, kStatusAddress, block)) {
    ShowSystemError(ctx.prompter, msg::kFailedToInitializeLcu, ctx.device.LastErrorText());
    return outcome;
  }
  outcome.result = CommandResult::kDone;
  outcome.written = block;
  return outcome;
}

}  // namespace lcu
