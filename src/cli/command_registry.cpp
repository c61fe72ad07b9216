#include "cli/command_registry.h"

#include <exception>
#include <iostream>
#include <utility>

#include "cli/cli11.h"
#include "cli/cli_context.h"
#include "cli/cli_messages.h"
#include "cli/exit_code.h"

namespace lcu::cli {

// Commands are not required through CLI11: it would report a mistyped command as a missing
// one. Unknown words are left to CLI11, which names them; CheckChosen reports the rest.
CommandRegistry::CommandRegistry(CLI::App& app) : m_app(app) {}

CLI::App* CommandRegistry::AddCommand(std::string name, std::string description, CommandAction action,
                                      CLI::App* parent) {
  CLI::App* command = (parent ? parent : &m_app)->add_subcommand(std::move(name), std::move(description));
  command->callback([this, chosen = std::move(action)] { m_chosen = chosen; });
  return command;
}

CLI::App* CommandRegistry::AddGroup(std::string name, std::string description) {
  CLI::App* group = m_app.add_subcommand(std::move(name), std::move(description));
  m_groups.push_back(group);
  return group;
}

bool CommandRegistry::CheckChosen() const {
  if (m_chosen) return true;
  std::string message(msg::kCommandRequired);
  for (const CLI::App* group : m_groups) {
    if (!group->parsed()) continue;
    message = group->get_name() + std::string(msg::kGroupNeedsOneOf);
    for (const CLI::App* command : group->get_subcommands({})) message += " " + command->get_name();
  }
  std::cerr << message << '\n' << msg::kRunWithHelp << '\n';
  return false;
}

int CommandRegistry::RunChosen(CliContext& context) const {
  try {
    return m_chosen(context);
  } catch (const std::exception& error) {
    // Commands report their own failures; this catches only what the libraries throw
    // (out of memory, a stream gone bad) so that the program still ends with a message.
    context.GetPrompter().Error(error.what());
    return kExitFailed;
  }
}

void AddJsonFlag(CLI::App& command, bool& json) { command.add_flag("--json", json, std::string(msg::kJsonHelp)); }

void AddAllCommands(CommandRegistry& commands) {
  AddStatusCommands(commands);
  AddDeviceCommands(commands);
  AddLoggerCommands(commands);
  AddCheckCommands(commands);
  AddMaintenanceCommands(commands);
  AddDumpCommands(commands);
  AddMemoryCommands(commands);
  AddChannelCommands(commands);
  AddMonitorCommands(commands);
  AddFirmwareCommands(commands);
  AddSettingsCommands(commands);
  AddSimulatorCommands(commands);
}

}  // namespace lcu::cli
