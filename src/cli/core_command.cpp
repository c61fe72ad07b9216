#include "core_command.h"

#include "cli_context.h"
#include "exit_code.h"

namespace lcu::cli {

int RunCoreCommand(CliContext& context, const CoreCommand& command) {
  SilentCommandUi ui;
  std::optional<CommandContext> commandContext = context.MakeCommandContext(ui);
  if (!commandContext) return kExitFailed;
  return ExitStatusOf(command(*commandContext));
}

}  // namespace lcu::cli
