// The logger's maintenance commands: reset the engine logbook, extract the logger setup,
// dump the program memory, initialise a new LCU, view and edit the session data, and switch
// manual logging on or off.
#include <cstdint>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "cli/cli11.h"
#include "cli/cli_context.h"
#include "cli/command_registry.h"
#include "cli/core_command.h"
#include "cli/exit_code.h"
#include "cli/json_writer.h"
#include "cli/session_data_edits.h"
#include "core/commands/extract_setup.h"
#include "core/commands/initialize_lcu.h"
#include "core/commands/maintenance_blocks.h"
#include "core/commands/read_program.h"
#include "core/commands/read_session_data.h"
#include "core/commands/reset_logbook.h"
#include "core/commands/start_logger.h"
#include "core/commands/write_session_data.h"
#include "core/logger/session_block.h"
#include "core/util/decimal_text.h"

namespace lcu::cli {

namespace {

// FILE given on the command line, else the command's fixed path.
std::string OutputPath(const std::string& given, std::string (*defaultPath)()) {
  return given.empty() ? defaultPath() : given;
}

int RunInit(CliContext& context, const std::string& number) {
  if (const std::optional<std::string> refusal = ValidateInitLcuNumber(number)) {
    context.GetPrompter().Error(*refusal);
    return kExitUsage;
  }
  context.GetPrompter().SetInitLcuNumber(ParseDecimalInt(number));
  return RunCoreCommand(context, [](CommandContext& c) { return InitializeLcu(c).result; });
}

void PrintSessionData(const SessionDataValues& values, bool json) {
  if (json) {
    std::cout << JsonWriter()
                     .BeginObject()
                     .Field("session", values.session)
                     .Field("outing", values.outing)
                     .Field("lapCount", values.lapCount)
                     .Field("paceLaps", values.paceLaps)
                     .EndObject()
                     .Text();
    return;
  }
  std::cout << session_label::kSession << ' ' << values.session << '\n'
            << session_label::kOuting << ' ' << values.outing << '\n'
            << session_label::kLapCount << ' ' << values.lapCount << '\n'
            << session_label::kPaceLaps << ' ' << values.paceLaps << '\n';
}

// Without values to change, the values read are printed. With values, those the LCU holds
// after the change are printed. A value the LCU cannot store as given is a usage error, and
// nothing is written.
int RunSession(CliContext& context, const SessionDataEdits& edits, bool json) {
  std::optional<std::string> refusal;
  std::optional<SessionDataValues> values;
  const int status = RunCoreCommand(context, [&](CommandContext& c) {
    const ReadSessionDataResult read = ReadSessionData(c);
    if (read.result != CommandResult::kDone) return read.result;
    if (!edits.Any()) {
      values = read.values;
      return read.result;
    }
    refusal = edits.Refusal(read.ranges);
    if (refusal) return CommandResult::kFailed;
    const WriteSessionDataResult written = WriteSessionData(c, read.block, edits.AppliedTo(read.values));
    if (written.result == CommandResult::kDone) values = written.stored;
    return written.result;
  });
  if (refusal) {
    context.GetPrompter().Error(*refusal);
    return kExitUsage;
  }
  if (values) PrintSessionData(*values, json);
  return status;
}

int RunLogger(CliContext& context, bool start) {
  return RunCoreCommand(context, [start](CommandContext& c) { return StartLogger(c, start).result; });
}

void AddSessionOption(CLI::App& command, std::string_view name, std::optional<std::int32_t>& value,
                      const char* description) {
  command.add_option(std::string(name), value, description)->option_text("N");
}

}  // namespace

void AddMaintenanceCommands(CommandRegistry& commands) {
  commands.AddCommand("reset-logbook", "Reset the engine logbook of the LCU", [](CliContext& context) {
    return RunCoreCommand(context, [](CommandContext& c) { return ResetLogbook(c).result; });
  });

  auto extractPath = std::make_shared<std::string>();
  CLI::App* extract = commands.AddCommand(
      "extract-setup", "Store the LCU's logger header (the logger setup) in a file",
      [extractPath](CliContext& context) {
        const std::string path = OutputPath(*extractPath, DefaultSetupExtractPath);
        return RunCoreCommand(context, [&path](CommandContext& c) { return ExtractSetup(c, path).result; });
      });
  extract->add_option("FILE", *extractPath, "Output file instead of " + DefaultSetupExtractPath());

  auto programPath = std::make_shared<std::string>();
  CLI::App* readProgram = commands.AddCommand(
      "read-program", "Dump the LCU's 32768 bytes of program memory into a file", [programPath](CliContext& context) {
        const std::string path = OutputPath(*programPath, DefaultProgramDumpPath);
        return RunCoreCommand(context, [&path](CommandContext& c) { return ReadProgram(c, path).result; });
      });
  readProgram->add_option("FILE", *programPath, "Output file instead of " + DefaultProgramDumpPath());

  auto initNumber = std::make_shared<std::string>();
  CLI::App* init =
      commands.AddCommand("init", "Initialise a new LCU: replace its status block, giving it an LCU number",
                          [initNumber](CliContext& context) { return RunInit(context, *initNumber); });
  init->add_option("NUMBER", *initNumber, "The LCU number, 0 to 65535")->required();

  auto edits = std::make_shared<SessionDataEdits>();
  auto sessionJson = std::make_shared<bool>(false);
  CLI::App* session = commands.AddCommand(
      "session", "Print the session data; with options, change the values given",
      [edits, sessionJson](CliContext& context) { return RunSession(context, *edits, *sessionJson); });
  AddJsonFlag(*session, *sessionJson);
  AddSessionOption(*session, kSessionOptions[0], edits->session, "New session number, 1 to 65536");
  AddSessionOption(*session, kSessionOptions[1], edits->outing, "New outing number, 1 to 65536");
  AddSessionOption(*session, kSessionOptions[2], edits->lapCount,
                   "New lap count, 0 to the laps since the last reset + 65536");
  AddSessionOption(*session, kSessionOptions[3], edits->paceLaps, "New number of pace laps, 0 to 65535");

  CLI::App* logger = commands.AddGroup("logger", "Switch manual logging on or off");
  commands.AddCommand(
      "start", "Start manual logging", [](CliContext& context) { return RunLogger(context, true); }, logger);
  commands.AddCommand(
      "stop", "Stop manual logging", [](CliContext& context) { return RunLogger(context, false); }, logger);
}

}  // namespace lcu::cli
