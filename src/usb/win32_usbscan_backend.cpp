#include "usb/win32_usbscan_backend.h"

#include <cstdio>
#include <cstring>

#include <windows.h>

#include "usb/usb_errors.h"
#include "usb/usbscan_request_block.h"

namespace lcu::usb {

namespace {

constexpr std::size_t kLowBufferSize = 65536;  // the largest data stage wLength can name
constexpr DWORD kErrorInvalidAddress = 487;    // ERROR_INVALID_ADDRESS

HANDLE ToHandle(UsbHandle handle) { return reinterpret_cast<HANDLE>(handle); }

bool FitsIn32Bits(const void* address) { return reinterpret_cast<std::uintptr_t>(address) <= 0xFFFFFFFFu; }

}  // namespace

Win32UsbscanBackend::Win32UsbscanBackend() {
  void* buffer = VirtualAlloc(nullptr, kLowBufferSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (buffer && FitsIn32Bits(buffer)) {
    m_lowBuffer = static_cast<std::uint8_t*>(buffer);
  } else if (buffer) {
    VirtualFree(buffer, 0, MEM_RELEASE);
  }
}

Win32UsbscanBackend::~Win32UsbscanBackend() {
  if (m_lowBuffer) VirtualFree(m_lowBuffer, 0, MEM_RELEASE);
}

bool Win32UsbscanBackend::Fail() {
  m_lastError = GetLastError();
  return false;
}

UsbHandle Win32UsbscanBackend::OpenNode(int node) {
  char path[32];
  std::snprintf(path, sizeof path, "\\\\.\\USBSCAN%d", node);
  const HANDLE handle = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    Fail();
    return kInvalidUsbHandle;
  }
  return reinterpret_cast<UsbHandle>(handle);
}

bool Win32UsbscanBackend::GetDeviceDescriptor(UsbHandle handle, std::span<std::uint8_t, 18> descriptor) {
  DWORD returned = 0;
  if (!DeviceIoControl(ToHandle(handle), kIoctlGetDeviceDescriptor, nullptr, 0, descriptor.data(),
                       static_cast<DWORD>(descriptor.size()), &returned, nullptr)) {
    return Fail();
  }
  return true;
}

bool Win32UsbscanBackend::ControlRequest(UsbHandle handle, const VendorRequest& request, std::span<std::uint8_t> data) {
  std::uint8_t* stage = data.data();
  if (!data.empty() && !FitsIn32Bits(stage)) {
    if (!m_lowBuffer || data.size() > kLowBufferSize) {
      SetLastError(kErrorInvalidAddress);
      return Fail();
    }
    stage = m_lowBuffer;
    std::memcpy(stage, data.data(), data.size());
  }
  const std::uint32_t pData = data.empty() ? 0 : static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(stage));
  RequestBlock bytes = EncodeRequestBlock(request, pData);
  DWORD returned = 0;
  // The driver's byte count is not looked at.
  if (!DeviceIoControl(ToHandle(handle), kIoctlSendVendorRequest, bytes.data(), static_cast<DWORD>(bytes.size()),
                       nullptr, 0, &returned, nullptr)) {
    return Fail();
  }
  if (stage != data.data()) std::memcpy(data.data(), stage, data.size());
  return true;
}

bool Win32UsbscanBackend::BulkRead(UsbHandle handle, std::span<std::uint8_t> buffer, std::uint32_t& moved) {
  DWORD read = 0;
  if (!ReadFile(ToHandle(handle), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) return Fail();
  moved = read;
  return true;
}

bool Win32UsbscanBackend::BulkWrite(UsbHandle handle, std::span<const std::uint8_t> buffer, std::uint32_t& moved) {
  DWORD written = 0;
  if (!WriteFile(ToHandle(handle), buffer.data(), static_cast<DWORD>(buffer.size()), &written, nullptr)) {
    return Fail();
  }
  moved = written;
  return true;
}

void Win32UsbscanBackend::CloseNode(UsbHandle handle) { CloseHandle(ToHandle(handle)); }

// The search's "file not found" is the driver's way of saying that no LCU is attached.
std::string Win32UsbscanBackend::ErrorText(std::uint32_t code) const {
  if (code == kErrorNoLcu) return std::string(text::kNoLcu);
  char text[512];
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                      text, sizeof text, nullptr);
  if (length == 0) return CommonErrorText(code);
  std::string message(text, length);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
  return message;
}

}  // namespace lcu::usb
