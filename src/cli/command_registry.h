// The commands of the lcu program. A command group adds its commands here, each with the
// action that runs it; parsing the command line picks the one action to run, and main runs
// it once the global options have made the context.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace lcu::cli {

class CliContext;

/// Runs one command; returns the program's exit status (exit_code.h).
using CommandAction = std::function<int(CliContext&)>;

class CommandRegistry {
 public:
  explicit CommandRegistry(CLI::App& app);

  /// Adds a command below parent (below the program when parent is null). Its options
  /// and arguments are declared on the returned subcommand.
  CLI::App* AddCommand(std::string name, std::string description, CommandAction action, CLI::App* parent = nullptr);
  /// Adds a command that only holds subcommands ("settings get", "logger start"); one of
  /// them must be given.
  CLI::App* AddGroup(std::string name, std::string description);

  /// After parsing: true when the command line named a command to run. Otherwise the
  /// missing command has been reported as a usage error.
  bool CheckChosen() const;
  /// Runs the command the parse picked.
  int RunChosen(CliContext& context) const;

 private:
  CLI::App& m_app;
  std::vector<CLI::App*> m_groups;
  CommandAction m_chosen;
};

/// Declares --json on a command that can print its result as JSON.
void AddJsonFlag(CLI::App& command, bool& json);

/// Adds every command of the program.
void AddAllCommands(CommandRegistry& commands);

// The command groups; each lives in its own commands_*.cpp.
void AddStatusCommands(CommandRegistry& commands);
void AddDeviceCommands(CommandRegistry& commands);
void AddLoggerCommands(CommandRegistry& commands);
void AddMaintenanceCommands(CommandRegistry& commands);
void AddDumpCommands(CommandRegistry& commands);
void AddMemoryCommands(CommandRegistry& commands);
void AddSettingsCommands(CommandRegistry& commands);
void AddSimulatorCommands(CommandRegistry& commands);
void AddChannelCommands(CommandRegistry& commands);
void AddMonitorCommands(CommandRegistry& commands);
void AddFirmwareCommands(CommandRegistry& commands);
void AddCheckCommands(CommandRegistry& commands);

}  // namespace lcu::cli
