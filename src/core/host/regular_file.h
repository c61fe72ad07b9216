// Files the programs read are read only when they are regular files: a named pipe, a device
// or a socket given as a calibration, channel definition, hex, data or settings file would
// make the read wait for a writer for ever, or read without end, and the program would hang
// without a word.
#pragma once

#include <optional>
#include <string>

namespace lcu {

/// Why path must not be read: "Not a regular file" when it names something other than a
/// regular file or a folder (a folder fails at the read with the system's own reason).
/// Nullopt when it may be read, also when it does not exist (the open says so).
std::optional<std::string> NotRegularFileReason(const std::string& path);

}  // namespace lcu
