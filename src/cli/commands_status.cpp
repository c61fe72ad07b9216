// status: one poll of the LCU, shown as the main window's status bar shows it.
#include <iostream>

#include "cli/cli11.h"
#include "cli/cli_context.h"
#include "cli/command_registry.h"
#include "cli/exit_code.h"
#include "core/logger/lcu_status_block.h"

namespace lcu::cli {

namespace {

int RunStatus(CliContext& context) {
  CUsbDevice* device = context.GetPolledDevice();
  if (!device) return kExitFailed;
  if (!device->m_bOnline) {
    std::cout << OfflinePaneTexts().link << '\n';
    return kExitFailed;
  }
  const StatusPaneTexts panes = OnlinePaneTexts(LcuStatusBlock(device->m_status));
  std::cout << panes.link << '\n' << panes.lcu << '\n' << panes.memory << '\n' << panes.clock << '\n';
  return kExitOk;
}

}  // namespace

void AddStatusCommands(CommandRegistry& commands) {
  commands.AddCommand("status", "Poll the LCU once and print the status-bar texts", RunStatus);
}

}  // namespace lcu::cli
