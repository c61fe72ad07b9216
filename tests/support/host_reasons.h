// The system's own words for the file failures the tests bring about. They are the host's
// texts, which the messages pass on as they are, so they differ between POSIX and Windows.
#pragma once

#include <string_view>

namespace lcu::test {

#if defined(_WIN32)
/// Opening a folder as a file.
inline constexpr std::string_view kFolderOpenedAsFile = "Permission denied";
/// Creating a folder below a file.
inline constexpr std::string_view kFolderBelowAFile = "Path not found.";
/// Opening a file that is not there.
inline constexpr std::string_view kMissingFile = "File not found.";
/// Creating a file in a folder that is not there.
inline constexpr std::string_view kMissingFolder = "Path not found.";
#else
inline constexpr std::string_view kFolderOpenedAsFile = "Is a directory";
inline constexpr std::string_view kFolderBelowAFile = "Not a directory";
inline constexpr std::string_view kMissingFile = "No such file or directory";
inline constexpr std::string_view kMissingFolder = "No such file or directory";
#endif

}  // namespace lcu::test
