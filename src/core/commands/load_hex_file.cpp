#include "core/commands/load_hex_file.h"

#include <optional>

#include "core/app/command_guard.h"

namespace lcu {

LoadHexFileResult LoadHexFile(CommandContext& ctx, const std::string& path, UploadNotice& notice) {
  LoadHexFileResult outcome;
  const CommandLease run = BeginLcuCommand(ctx, OfflineForm::kPlain);
  if (!run) {
    outcome.result = CommandResult::kFailed;
    return outcome;
  }
  const std::optional<FirmwareImage> image = ReadFirmwareFile(ctx, path);
  if (!image) {
    outcome.result = CommandResult::kFailed;
    return outcome;
  }
  outcome.covered = image->covered;
  outcome.checksum = image->Checksum();
  outcome.result = SendFirmwareImage(ctx, *image, notice);
  return outcome;
}

LoadHexFileResult LoadHexFile(CommandContext& ctx, const std::string& path) {
  SilentUploadNotice notice;
  return LoadHexFile(ctx, path, notice);
}

}  // namespace lcu
