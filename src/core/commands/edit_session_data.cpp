#include "core/commands/edit_session_data.h"

#include <optional>

#include "core/app/command_guard.h"
#include "core/commands/read_session_data.h"

namespace lcu {

WriteSessionDataResult EditSessionData(CommandContext& ctx) {
  WriteSessionDataResult outcome;
  // One lease from the read to the write: the block written is the one read, whatever the
  // program does while the dialog is open.
  const CommandLease run = BeginCommand(ctx);
  if (!run) return outcome;
  const ReadSessionDataResult read = ReadSessionData(ctx);
  if (read.result != CommandResult::kDone) {
    outcome.result = read.result;
    return outcome;
  }
  const std::optional<SessionDataValues> entered = ctx.prompter.RunSessionDataDialog(read.values, read.ranges);
  if (!entered) {
    outcome.result = CommandResult::kDeclined;
    return outcome;
  }
  return WriteSessionData(ctx, read.block, *entered);
}

}  // namespace lcu
