// Load Hex File: reads an Intel-HEX firmware file, builds the sealed firmware image of LCU
// 0x2000 to 0x7FFF and sends it (see hex_file_upload.h for the steps and the notice shown
// meanwhile). A refused file sends nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/app/command_context.h"
#include "core/commands/hex_file_upload.h"

namespace lcu {

struct LoadHexFileResult {
  CommandResult result = CommandResult::kFailed;
  /// Bytes of the image that the file's records set, and the checksum word the image was
  /// sealed with (LCU 0x7FFE); set once the file has been read.
  std::size_t covered = 0;
  std::uint16_t checksum = 0;
};

/// Loads the file at path into the LCU. Repeats CheckLoadHexFile first, since the LCU may
/// have gone off line or a download may have started while the file was chosen; then
/// ReadFirmwareFile and SendFirmwareImage with the notice. Success shows no message.
LoadHexFileResult LoadHexFile(CommandContext& ctx, const std::string& path, UploadNotice& notice);

/// LoadHexFile without a notice.
LoadHexFileResult LoadHexFile(CommandContext& ctx, const std::string& path);

}  // namespace lcu
