// load-hex: a new firmware image for the LCU from an Intel-HEX file.
#include <memory>
#include <string>

#include "cli11.h"
#include "cli_context.h"
#include "command_registry.h"
#include "core_command.h"
#include "firmware/hex_file_upload.h"

namespace lcu::cli {

namespace {

// The checks come first, as before the desktop program's file dialog, so that an off-line
// LCU is reported before the file is read.
CommandResult LoadHex(CommandContext& context, const std::string& path) {
  if (const CommandResult checked = CheckLoadHexFile(context); checked != CommandResult::kDone) return checked;
  return OnLoadHexFile(context, path);
}

}  // namespace

void AddFirmwareCommands(CommandRegistry& commands) {
  auto path = std::make_shared<std::string>();
  CLI::App* loadHex = commands.AddCommand(
      "load-hex", "Load the firmware of an Intel-HEX file into the LCU's program memory", [path](CliContext& context) {
        return RunCoreCommand(context, [&path](CommandContext& c) { return LoadHex(c, *path); });
      });
  loadHex->add_option("FILE", *path, "The firmware file (.hex)")->required();
}

}  // namespace lcu::cli
