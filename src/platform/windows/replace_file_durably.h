// Replacing a file that may already exist (a calibration file, a settings file, a setup
// extract) so that a crash or a failure never leaves it half written: the new bytes go to a
// temporary file in the same folder, which is synced and then renamed over the old file.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace lcu::win {

/// Puts bytes into the file at path (UTF-8), created if missing. On any failure the old file
/// is left as it was, the temporary file is removed, reason holds the system's text and the
/// result is false.
bool ReplaceFileDurably(const std::string& path, std::span<const std::uint8_t> bytes, std::string& reason);

}  // namespace lcu::win
