#include "cli/core_command.h"

#include "cli/cli_context.h"
#include "cli/exit_code.h"

namespace lcu::cli {

int RunCoreCommand(CliContext& context, const CoreCommand& command) {
  SilentCommandUi ui;
  std::optional<CommandContext> commandContext = context.MakeCommandContext(ui);
  if (!commandContext) return kExitFailed;
  return ExitStatusOf(command(*commandContext));
}

}  // namespace lcu::cli
