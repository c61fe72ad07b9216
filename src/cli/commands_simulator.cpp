// sim-setup: the sample setup that fits the simulated LCU, so that the whole program works
// without hardware.
#include <iostream>
#include <string>

#include "cli/cli11.h"
#include "cli/cli_context.h"
#include "cli/command_registry.h"
#include "cli/exit_code.h"
#include "core/host/default_paths.h"
#include "sim/sample_setup.h"

namespace lcu::cli {

namespace {

int RunSimSetup(CliContext& context) {
  SettingsStore& store = context.GetStore();
  const std::string failure = sim::WriteSampleSetup(store);
  if (!failure.empty()) {
    context.GetPrompter().Error(failure);
    return kExitFailed;
  }
  std::cout << SetupDirectory(store) << '\n';
  return kExitOk;
}

}  // namespace

void AddSimulatorCommands(CommandRegistry& commands) {
  commands.AddCommand("sim-setup",
                      "Write the sample setup into the setup folder, register the simulated LCU in slot 1 and "
                      "print the folder",
                      RunSimSetup);
}

}  // namespace lcu::cli
