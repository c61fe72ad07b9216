// Files the programs read are read only when they are regular files: a named pipe, a device
// or a socket given as a calibration, channel definition, hex, data or settings file would
// make the read wait for a writer for ever, or read without end, and the program would hang
// without a word.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "core/host/file_system.h"

namespace lcu {

/// Why path must not be read: "Not a regular file" when it names something other than a
/// regular file or a folder (a folder fails at the read with the system's own reason).
/// Nullopt when it may be read, also when it does not exist (the open says so).
std::optional<std::string> NotRegularFileReason(const std::string& path);

/// Up to limit bytes from the start of a regular file and the size of the whole file, read
/// with the standard library; nullopt with the reason when it cannot be read.
std::optional<FileStart> ReadRegularFileStart(const std::string& path, std::size_t limit, std::string& reason);

}  // namespace lcu
