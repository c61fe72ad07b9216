// Running one of the core's LCU commands from the command line: poll the LCU, give the
// command its context, and turn its outcome into the exit status.
#pragma once

#include <functional>

#include "core/app/command_context.h"

namespace lcu::cli {

class CliContext;

using CoreCommand = std::function<CommandResult(CommandContext&)>;

/// Runs the command with a UI that shows nothing; returns the exit status of its outcome,
/// or kExitFailed when no LCU link could be opened.
int RunCoreCommand(CliContext& context, const CoreCommand& command);

}  // namespace lcu::cli
