// dump-data: a raw copy of the LCU's whole data memory into a new file, for an LCU whose
// header the download refuses. Nothing is written to the LCU.
#include <cstdint>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/cli11.h"
#include "cli/cli_context.h"
#include "cli/cli_messages.h"
#include "cli/command_registry.h"
#include "cli/exit_code.h"
#include "cli/progress_bar.h"
#include "cli/stop_signals.h"
#include "core/commands/data_memory_dump.h"

namespace lcu::cli {

namespace {

struct DumpOptions {
  std::string path;
  std::optional<std::uint32_t> units;
};

int RunDumpData(CliContext& context, const DumpOptions& options) {
  if (options.units) {
    if (const std::optional<std::string> refusal = ValidateDumpUnits(*options.units)) {
      context.GetPrompter().Error(*refusal);
      return kExitUsage;
    }
  }
  ProgressBar bar = ProgressBar::ForStderr();
  ProgressPrompter prompter(context.GetPrompter(), bar);
  std::optional<CommandContext> commandContext = context.MakeCommandContext(bar, &prompter);
  if (!commandContext) return kExitFailed;
  std::optional<std::uint16_t> units;
  if (options.units) units = static_cast<std::uint16_t>(*options.units);
  // Ctrl+C, SIGTERM and SIGHUP end the dump after its current chunk; the partial file is named.
  const StopSignals stopSignals;
  const DataMemoryDump dump = DumpDataMemory(*commandContext, options.path, units);
  if (dump.result == CommandResult::kDone) {
    std::cout << dump.path << '\n';
  } else if (!dump.path.empty()) {
    ShowFileError(prompter, msg::kDataFileIncomplete, dump.path, {});
  } else if (dump.memorySizeRefused) {
    prompter.Error(msg::kGiveTheMemorySize);
  }
  return ExitStatusOf(dump.result);
}

}  // namespace

void AddDumpCommands(CommandRegistry& commands) {
  auto options = std::make_shared<DumpOptions>();
  CLI::App* dump = commands.AddCommand(
      "dump-data",
      "Copy the LCU's whole data memory (M x 512 KiB from address 0) into a new file and print its path; the "
      "LCU is left as it is",
      [options](CliContext& context) { return RunDumpData(context, *options); });
  dump->add_option("FILE", options->path, "The new file (an existing file is never replaced)")->required();
  dump->add_option("--units", options->units,
                   "Memory size M in units of 512 KiB, 1 to 2047, instead of the size the LCU's header gives")
      ->option_text("M");
}

}  // namespace lcu::cli
