#include "core/commands/write_session_data.h"

#include "core/app/command_guard.h"
#include "core/commands/maintenance_blocks.h"
#include "core/messages/messages.h"

namespace lcu {

WriteSessionDataResult WriteSessionData(CommandContext& ctx, const SessionBlock& read,
                                        const SessionDataValues& values) {
  WriteSessionDataResult outcome;
  const CommandLease run = BeginCommand(ctx);
  if (!run) return outcome;
  const SessionDataRanges ranges = SessionValueRanges(read);
  const auto fields = SessionFields(values);
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (ranges[i].Contains(fields[i])) continue;
    ctx.prompter.Error(EnterIntegerBetween(ranges[i]));
    outcome.refusedField = i;
    return outcome;
  }
  const SessionBlock updated = SessionBlockAfterUpdate(read, values);
  if (!WriteBlock(ctx.device, kSessionBlockAddress, updated)) {
    ShowSystemError(ctx.prompter, msg::kFailedToUpdateSessionData, ctx.device.LastErrorText());
    return outcome;
  }
  outcome.result = CommandResult::kDone;
  outcome.written = updated;
  outcome.stored = SessionValuesOf(updated);
  return outcome;
}

}  // namespace lcu
