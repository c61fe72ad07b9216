// Load Hex File: reads an Intel-HEX firmware file, builds the sealed firmware image of LCU
// 0x2000 to 0x7FFF and sends it as one LCU_LOAD_FIRMWARE set-up request followed by one bulk
// write of 24576 bytes. There is no erase or restart step on the host side; the command
// line may read the program memory back afterwards and compare it with the image.
//
// The desktop program runs the command in two halves around its open-file dialog:
// CheckLoadHexFile before the dialog (so that an off-line LCU is reported before any file
// is chosen), LoadHexFile (core/commands/load_hex_file.h) with the chosen path. The command line reads the file first
// and asks before it sends the image. A refused file sends nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/app/command_context.h"
#include "core/firmware/hex_image.h"

namespace lcu {

/// Title and filter of the open-file dialog; it opens in VelmoraRoot() with no file name.
inline constexpr std::string_view kLoadHexFileDialogTitle = "Load Hex File";
inline constexpr std::string_view kLoadHexFileDialogFilter = "Hex Files (*.hex)";
/// Text of the notice shown while the image is sent.
inline constexpr std::string_view kUploadingHexFileNotice = "Uploading Hex file .... Please wait.";

/// The modeless notice shown from just before the set-up request to the end of the
/// transfer. On a failure it stays open while the error is shown and is closed afterwards.
class UploadNotice {
 public:
  virtual ~UploadNotice() = default;
  virtual void Show() = 0;
  virtual void Close() = 0;
};

/// A notice that shows nothing (the command line, tests).
class SilentUploadNotice final : public UploadNotice {
 public:
  void Show() override {}
  void Close() override {}
};

/// The checks before the file dialog: refused while a download runs, and "LCU is off-line"
/// when the LCU is not on line. kDone when the command may go on; nothing is sent.
CommandResult CheckLoadHexFile(CommandContext& ctx);

/// A sealed firmware image read from a hex file.
struct FirmwareImage {
  std::unique_ptr<std::uint8_t[]> bytes;  // kFirmwareImageSize bytes
  /// Bytes of the image that the file's records set.
  std::size_t covered = 0;
  /// Data bytes of the file outside the load window, which were not placed.
  IgnoredBytes ignoredBelow{};
  IgnoredBytes ignoredAbove{};

  FirmwareImageSpan Span() const { return FirmwareImageSpan(bytes.get(), kFirmwareImageSize); }
  /// The checksum word the image is sealed with (LCU 0x7FFE).
  std::uint16_t Checksum() const;
};

/// Reads the file whole (at most kHexFileLimit bytes) into a sealed image. Nullopt when it
/// cannot be read or is refused; the message (naming the line where there is one) has then
/// been shown. Sends nothing.
std::optional<FirmwareImage> ReadFirmwareFile(CommandContext& ctx, const std::string& path);

/// Sends the image with the notice shown. Success shows no message.
CommandResult SendFirmwareImage(CommandContext& ctx, const FirmwareImage& image, UploadNotice& notice);

/// Reads the program memory back with the transfers of Read Hex File and compares LCU
/// 0x2000 to 0x7FFF with the image; a difference fails, naming its first address.
CommandResult VerifyFirmwareImage(CommandContext& ctx, const FirmwareImage& image);

}  // namespace lcu
