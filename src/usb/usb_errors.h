// The error codes the USB backends report and the texts a user reads for them. The codes are
// the Windows system codes of the same meaning, so that the link's last error reads alike
// whichever backend ran and a transcript recorded on one system replays on another.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lcu::usb {

inline constexpr std::uint32_t kErrorSuccess = 0;
inline constexpr std::uint32_t kErrorNoLcu = 2;              // ERROR_FILE_NOT_FOUND
inline constexpr std::uint32_t kErrorNotAnLcu = 20;          // ERROR_BAD_UNIT
inline constexpr std::uint32_t kErrorAccessDenied = 5;       // ERROR_ACCESS_DENIED
inline constexpr std::uint32_t kErrorNotEnoughMemory = 8;    // ERROR_NOT_ENOUGH_MEMORY
inline constexpr std::uint32_t kErrorStall = 31;             // ERROR_GEN_FAILURE
inline constexpr std::uint32_t kErrorNotSupported = 50;      // ERROR_NOT_SUPPORTED
inline constexpr std::uint32_t kErrorInvalidParameter = 87;  // ERROR_INVALID_PARAMETER
inline constexpr std::uint32_t kErrorTimeout = 121;          // ERROR_SEM_TIMEOUT
inline constexpr std::uint32_t kErrorBusy = 170;             // ERROR_BUSY
inline constexpr std::uint32_t kErrorOverflow = 234;         // ERROR_MORE_DATA
inline constexpr std::uint32_t kErrorIo = 1117;              // ERROR_IO_DEVICE
inline constexpr std::uint32_t kErrorDisconnected = 1167;    // ERROR_DEVICE_NOT_CONNECTED
inline constexpr std::uint32_t kErrorInterrupted = 1223;     // ERROR_CANCELLED

namespace text {
inline constexpr std::string_view kSuccess = "The operation completed successfully.";
inline constexpr std::string_view kNoLcu = "No LCU is attached.";
inline constexpr std::string_view kAccessDenied = "Permission denied: install the udev rule (see README).";
inline constexpr std::string_view kNotEnoughMemory = "Not enough memory for the USB transfer.";
inline constexpr std::string_view kStall = "The LCU refused the request (the endpoint stalled).";
inline constexpr std::string_view kNotSupported = "This system's USB stack cannot reach the LCU.";
inline constexpr std::string_view kInvalidParameter = "The USB request was not valid.";
inline constexpr std::string_view kTimeout = "The LCU did not answer in time.";
inline constexpr std::string_view kBusy = "The LCU is busy: another program has it open.";
inline constexpr std::string_view kOverflow = "The LCU sent more data than was asked for.";
inline constexpr std::string_view kIo = "The USB transfer failed.";
inline constexpr std::string_view kDisconnected = "The LCU was disconnected.";
inline constexpr std::string_view kInterrupted = "The USB transfer was interrupted.";
inline constexpr std::string_view kCannotStartLibusb = "The USB library could not be started: ";
inline constexpr std::string_view kDriverCannotList =
    "The LCU's Windows driver cannot list USB devices: lcu list and --device are not available.";
inline constexpr std::string_view kNotAnLcu = "The device chosen with --device is not a usable LCU (see lcu list).";

// Why `lcu list` does not take a device with the LCU's product id as the LCU.
inline constexpr std::string_view kNoVendorInterface = "It has no vendor-specific interface.";
inline constexpr std::string_view kMissingEndpoints =
    "Its vendor-specific interface has not one bulk IN and one bulk OUT endpoint.";
inline constexpr std::string_view kOtherVendor = "Its vendor id is not the one set (UsbVendorId).";
inline constexpr std::string_view kUnreadable = "Its descriptors cannot be read.";
inline constexpr std::string_view kNotSelected = "It is not the LCU chosen with --device.";
}  // namespace text

/// The text of a code above, or the link's own codes' text; empty for any other code.
std::string UsbErrorText(std::uint32_t code);

}  // namespace lcu::usb
