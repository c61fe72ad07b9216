// load-hex: a new firmware image for the LCU from an Intel-HEX file.
#include <array>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/cli11.h"
#include "cli/cli_context.h"
#include "cli/cli_messages.h"
#include "cli/command_registry.h"
#include "cli/core_command.h"
#include "core/commands/hex_file_upload.h"
#include "core/commands/lcu_configuration.h"

namespace lcu::cli {

namespace {

struct LoadHexOptions {
  std::string path;
  bool verify = false;
};

// The file's data bytes outside the load window on one side, which were not sent: "Ignored :
// 16 bytes between 7FF0 and 7FFF". Nothing when there are none.
void PrintIgnored(const IgnoredBytes& ignored) {
  if (ignored.count == 0) return;
  std::array<char, 64> where{};
  std::snprintf(where.data(), where.size(), " bytes between %4.4X and %4.4X", static_cast<unsigned>(ignored.first),
                static_cast<unsigned>(ignored.last));
  std::cout << msg::kIgnoredLabel << ' ' << ignored.count << where.data() << '\n';
}

// What was sent, in the configuration display's form for the checksum word, so that it can
// be compared with what `lcu config` shows, and what of the file was left out.
void PrintLoaded(const FirmwareImage& image) {
  std::array<char, 16> checksum{};
  std::snprintf(checksum.data(), checksum.size(), "%4.4XH", static_cast<unsigned>(image.Checksum()));
  std::cout << msg::kLoadedLabel << ' ' << image.covered << " of " << kFirmwareImageSize << " bytes\n";
  PrintIgnored(image.ignoredBelow);
  PrintIgnored(image.ignoredAbove);
  std::cout << kLcuConfigurationLabels[kChecksumRow] << ' ' << checksum.data() << '\n';
}

// The checks come first, as before the desktop program's file dialog, so that an off-line
// LCU is reported before the file is read; a refused file is refused before the question.
CommandResult LoadHex(CommandContext& context, const LoadHexOptions& options) {
  if (const CommandResult checked = CheckLoadHexFile(context); checked != CommandResult::kDone) return checked;
  const std::optional<FirmwareImage> image = ReadFirmwareFile(context, options.path);
  if (!image) return CommandResult::kFailed;
  if (!context.prompter.AskQuestion(msg::kLoadHexContinue)) return CommandResult::kDeclined;
  SilentUploadNotice notice;
  if (const CommandResult sent = SendFirmwareImage(context, *image, notice); sent != CommandResult::kDone) return sent;
  PrintLoaded(*image);
  if (!options.verify) return CommandResult::kDone;
  if (const CommandResult verified = VerifyFirmwareImage(context, *image); verified != CommandResult::kDone)
    return verified;
  std::cout << msg::kVerifiedLabel << " yes\n";
  return CommandResult::kDone;
}

}  // namespace

void AddFirmwareCommands(CommandRegistry& commands) {
  auto options = std::make_shared<LoadHexOptions>();
  CLI::App* loadHex = commands.AddCommand(
      "load-hex",
      "Load the firmware of an Intel-HEX file into the LCU's program memory (asks first) and print how many "
      "bytes it covered, the data it left out (records outside 2000 to 7FEF) and the checksum word",
      [options](CliContext& context) {
        return RunCoreCommand(context, [&options](CommandContext& c) { return LoadHex(c, *options); });
      });
  loadHex->add_option("FILE", options->path, "The firmware file (.hex)")->required();
  loadHex->add_flag("--verify", options->verify,
                    "Read the program memory back afterwards and compare it with the file's image");
}

}  // namespace lcu::cli
