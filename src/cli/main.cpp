// lcu: the command line of the LCU workstation, for scripts, pit-lane automation and
// headless tests.

#include "cli/cli11.h"
#include "cli/cli_context.h"
#include "cli/cli_messages.h"
#include "cli/command_registry.h"
#include "cli/console_prompter.h"
#include "cli/exit_code.h"
#include "cli/program_version.h"
#include "cli/standard_output.h"
#include "cli/terminal.h"
#include "platform/host_file_system.h"

int main(int argc, char** argv) {
  using namespace lcu::cli;
  UseUtf8Console();
  lcu::TreatFileSizeLimitAsWriteError();
  StandardOutput output;
  CLI::App app{std::string(msg::kProgramDescription), std::string(msg::kProgramName)};
  app.fallthrough();
  app.set_version_flag("--version", VersionText, std::string(msg::kVersionHelp));
  GlobalOptions options;
  AddGlobalOptions(app, options);
  CommandRegistry commands(app);
  AddAllCommands(commands);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    // Prints the help text or the usage error; asking for help is no error.
    const int status = app.exit(error) == 0 ? kExitOk : kExitUsage;
    return StandardOutput::Finish(status, *ConsolePrompter::ForTerminal(false));
  }
  if (!commands.CheckChosen()) return kExitUsage;
  CliContext context(options);
  return StandardOutput::Finish(context.Finish(commands.RunChosen(context)), context.GetPrompter());
}
