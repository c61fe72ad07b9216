// The lowest USB seam: what the link needs of a USB stack. Implemented by the LCU simulator,
// the libusb backend, the Windows driver backend, and the record and replay wrappers.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/link/vendor_request.h"

namespace lcu {

using UsbHandle = std::intptr_t;
inline constexpr UsbHandle kInvalidUsbHandle = -1;

/// Windows error code for an invalid handle: the link's last error before any failure.
inline constexpr std::uint32_t kErrorInvalidHandle = 6;
/// Our own code for a transfer that moved fewer bytes than the operation needed.
inline constexpr std::uint32_t kErrorShortTransfer = 0x20000001;

class UsbBackend {
 public:
  virtual ~UsbBackend() = default;

  /// Opens candidate device node n (0 to 14); kInvalidUsbHandle when there is none.
  virtual UsbHandle OpenNode(int node) = 0;
  /// Fetches the node's 18-byte standard device descriptor.
  virtual bool GetDeviceDescriptor(UsbHandle handle, std::span<std::uint8_t, 18> descriptor) = 0;
  /// Sends one vendor control request. For a read, data receives wLength bytes; for a
  /// write, data is empty (the link sends no OUT data stage).
  virtual bool ControlRequest(UsbHandle handle, const VendorRequest& request, std::span<std::uint8_t> data) = 0;
  /// One synchronous bulk IN transfer; moved reports the bytes actually received.
  virtual bool BulkRead(UsbHandle handle, std::span<std::uint8_t> buffer, std::uint32_t& moved) = 0;
  /// One synchronous bulk OUT transfer; moved reports the bytes actually sent.
  virtual bool BulkWrite(UsbHandle handle, std::span<const std::uint8_t> buffer, std::uint32_t& moved) = 0;
  virtual void CloseNode(UsbHandle handle) = 0;

  /// The system error code of the last failed call.
  virtual std::uint32_t LastError() const = 0;
  /// A text a user understands for an error code of this backend.
  virtual std::string ErrorText(std::uint32_t code) const = 0;
  /// True when a bulk IN transfer is the Windows call ReadFile (the LCU's original driver),
  /// whose failure the LCU's tools have always reported by that call's name. Elsewhere the
  /// failure is named by what it did.
  virtual bool BulkReadIsReadFile() const { return false; }
};

/// Texts of the error codes every backend may report, including the link's own.
std::string CommonErrorText(std::uint32_t code);

}  // namespace lcu
