// Every text the system shows to the user, kept in one place so that each appears once.
#pragma once

#include <string_view>

namespace lcu::msg {

// Caption of every message box and the product title.
inline constexpr std::string_view kAppTitle = "Corvalent";

// Link and transfers.
inline constexpr std::string_view kReadFileFailedCaption = "ReadFile failed.";
inline constexpr std::string_view kReadFileFailed = "ReadFile failed";
inline constexpr std::string_view kFailedToAllocateMemory = "Failed to allocate memory.";
inline constexpr std::string_view kShortTransferText = "The LCU sent or took fewer bytes than requested.";

// Off-line forms; each command names the one it shows.
inline constexpr std::string_view kLcuOffline = "LCU is off-line";
inline constexpr std::string_view kLcuOfflineDot = "LCU is off-line.";

// Validation of images before they index memory.
inline constexpr std::string_view kLoggerHeaderInvalid = "Logger header is invalid.";

}  // namespace lcu::msg
