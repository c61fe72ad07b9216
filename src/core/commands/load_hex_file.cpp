#include "core/commands/load_hex_file.h"

#include <optional>

namespace lcu {

LoadHexFileResult LoadHexFile(CommandContext& ctx, const std::string& path, UploadNotice& notice) {
  LoadHexFileResult outcome;
  outcome.result = CheckLoadHexFile(ctx);
  if (outcome.result != CommandResult::kDone) return outcome;
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
