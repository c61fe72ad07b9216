// The configuration upload: sends the calibration image of the connected LCU into the LCU's
// header page, laying out the logging buffers afresh and carrying over the counters that must
// survive (session, laps, logbook and, on request, the QMT data). Uploading in reset mode is
// how the LCU is emptied after a download.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/app/app_state.h"
#include "core/app/command_context.h"

namespace lcu {

enum class UploadMode : std::int32_t {
  kSendConfig = 0,  // the Send Config command (and zeroing)
  kReset = 1,       // after a complete download
};

/// Lays out the image's N buffers in a data memory of memorySize x 512 KiB: each gets a
/// region in proportion to rate x weight, rounded down to 4 bytes, one after another from
/// linear 16384; every buffer starts empty; the end marker follows the last region; the
/// first buffer size field is set.
void LayOutBuffers(CalibrationImage& image, std::uint16_t memorySize);

/// Checks, before anything is sent, that the image's buffer table fits below the channel
/// names and names only defined rate codes.
std::optional<std::string_view> ValidateUploadImage(const CalibrationImage& image);

/// The upload. Changes the image in place (layout, carried and cleared fields) and writes
/// bytes 0x40 to 0x3FFF into the LCU. Shows its own messages; kDeclined when the user
/// answered No to "LCU contains data".
CommandResult UploadConfiguration(CommandContext& ctx, CalibrationImage& image, UploadMode mode);

/// What UploadConfigurationOnto needs checked first: the image (ValidateUploadImage) and the
/// LCU header's memory size. The message to show, or nothing.
std::optional<std::string_view> CheckUploadOnto(const CalibrationImage& image, const LoggerHeader& lcu);

/// The upload onto the LCU header the caller has just read (and checked with
/// CheckUploadOnto): the header is not read again, so the write is the first transfer. Used
/// by the reset after a download, whose last reads decide whether the LCU may be emptied.
CommandResult UploadConfigurationOnto(CommandContext& ctx, CalibrationImage& image, UploadMode mode,
                                      const LoggerHeader& lcu);

}  // namespace lcu
