// Win32UsbscanBackend: the LCU through its original Windows driver, bound exactly as that
// driver expects. Nodes are the device files "\\.\USBSCAN0" to "\\.\USBSCAN14", opened for
// reading and writing without sharing; control code 0x80002000 fetches the 18-byte device
// descriptor, 0x80002018 sends the 12-byte request block whose pData holds the address of
// the data stage; bulk data moves with ReadFile and WriteFile. Built on Windows only.
#pragma once

#include <cstdint>
#include <string>

#include "core/link/usb_backend.h"

namespace lcu::usb {

inline constexpr unsigned long kIoctlGetDeviceDescriptor = 0x80002000;
inline constexpr unsigned long kIoctlSendVendorRequest = 0x80002018;

class Win32UsbscanBackend final : public UsbBackend {
 public:
  Win32UsbscanBackend();
  ~Win32UsbscanBackend() override;
  Win32UsbscanBackend(const Win32UsbscanBackend&) = delete;
  Win32UsbscanBackend& operator=(const Win32UsbscanBackend&) = delete;

  UsbHandle OpenNode(int node) override;
  bool GetDeviceDescriptor(UsbHandle handle, std::span<std::uint8_t, 18> descriptor) override;
  bool ControlRequest(UsbHandle handle, const VendorRequest& request, std::span<std::uint8_t> data) override;
  bool BulkRead(UsbHandle handle, std::span<std::uint8_t> buffer, std::uint32_t& moved) override;
  bool BulkWrite(UsbHandle handle, std::span<const std::uint8_t> buffer, std::uint32_t& moved) override;
  void CloseNode(UsbHandle handle) override;
  /// The system's error code saved when the last driver call failed.
  std::uint32_t LastError() const override { return m_lastError; }
  /// The system's own text for the code (FormatMessageA).
  std::string ErrorText(std::uint32_t code) const override;
  bool BulkReadIsReadFile() const override { return true; }

 private:
  bool Fail();

  std::uint32_t m_lastError = kErrorInvalidHandle;
  // The request block carries a 32-bit address: in a 64-bit program the data stage passes
  // through this buffer when the caller's lies above 4 GiB.
  std::uint8_t* m_lowBuffer = nullptr;
};

}  // namespace lcu::usb
