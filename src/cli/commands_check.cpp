// check: the pre-flight check of the connected LCU, one line per item with its level and what
// to do. It only reads the LCU. set-clock: Set LCU Clock, what the check advises for a clock
// that is not the computer's.
#include <iostream>
#include <memory>
#include <string>

#include "cli/cli11.h"
#include "cli/cli_context.h"
#include "cli/command_registry.h"
#include "cli/core_command.h"
#include "cli/exit_code.h"
#include "cli/json_writer.h"
#include "cli/terminal.h"
#include "core/commands/preflight_check.h"
#include "core/commands/set_lcu_clock.h"
#include "core/logger/lcu_status_block.h"

namespace lcu::cli {

namespace {

constexpr std::size_t kLevelColumn = 9;  // "warning" and two blanks
constexpr std::string_view kActionLead = "-> ";

std::string CheckJson(const std::vector<PreflightLine>& lines) {
  JsonWriter json;
  json.BeginObject().Field("level", LevelName(WorstLevel(lines))).Key("lines").BeginArray();
  for (const PreflightLine& line : lines) {
    json.BeginObject()
        .Field("item", ItemName(line.item))
        .Field("level", LevelName(line.level))
        .Field("text", line.text)
        .Field("action", line.action)
        .EndObject();
  }
  return json.EndArray().EndObject().Text();
}

// A red line fails the command, so that a script can refuse to start a run on it.
CommandResult RunCheck(CommandContext& context, bool json) {
  const std::optional<PreflightInputs> inputs = ReadPreflightInputs(context);
  if (!inputs) return CommandResult::kFailed;
  const std::vector<PreflightLine> lines = EvaluatePreflight(*inputs);
  if (json) {
    std::cout << CheckJson(lines);
  } else {
    for (const PreflightLine& line : lines) {
      std::string level(LevelName(line.level));
      level.resize(kLevelColumn, ' ');
      std::cout << level << TerminalSafe(line.text) << '\n';
      if (!line.action.empty())
        std::cout << std::string(kLevelColumn, ' ') << kActionLead << TerminalSafe(line.action) << '\n';
    }
  }
  return WorstLevel(lines) == CheckLevel::kError ? CommandResult::kFailed : CommandResult::kDone;
}

// Prints the clock as the status bar shows it from now on.
int RunSetClock(CliContext& context) {
  StatusBlock written{};
  const int status = RunCoreCommand(context, [&written](CommandContext& c) {
    const SetLcuClockResult set = SetLcuClock(c);
    written = set.written;
    return set.result;
  });
  if (status == kExitOk) std::cout << OnlinePaneTexts(LcuStatusBlock(written)).clock << '\n';
  return status;
}

}  // namespace

void AddCheckCommands(CommandRegistry& commands) {
  auto json = std::make_shared<bool>(false);
  CLI::App* check = commands.AddCommand(
      "check",
      "Check the LCU before a run: configuration against the calibration file, clock, memory, data not "
      "downloaded, firmware, hardware level, registration and session; exits with 1 on a red line. Sends nothing",
      [json](CliContext& context) {
        return RunCoreCommand(context, [json = *json](CommandContext& c) { return RunCheck(c, json); });
      });
  AddJsonFlag(*check, *json);

  commands.AddCommand("set-clock",
                      "Set LCU Clock: put the computer's local time of day into the LCU clock and print the clock "
                      "as the status bar shows it",
                      RunSetClock);
}

}  // namespace lcu::cli
