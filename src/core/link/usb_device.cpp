#include "core/link/usb_device.h"

#include "core/messages/messages.h"
#include "core/util/little_endian.h"

namespace lcu {

namespace {
constexpr std::size_t kProductIdOffset = 10;
constexpr std::size_t kClockOffset = 6;
}  // namespace

std::string CommonErrorText(std::uint32_t code) {
  switch (code) {
    case kErrorInvalidHandle: return "The handle is invalid.";
    case kErrorShortTransfer: return std::string(msg::kShortTransferText);
    default: return {};
  }
}

CUsbDevice::CUsbDevice(UsbBackend& backend) : m_backend(backend) {}

CUsbDevice::~CUsbDevice() { CloseDevice(); }

bool CUsbDevice::FindDevice() {
  if (m_hDevice != kInvalidUsbHandle) return true;
  for (int node = 0; node < kDeviceNodeCount; ++node) {
    const UsbHandle handle = m_backend.OpenNode(node);
    if (handle == kInvalidUsbHandle) continue;
    std::array<std::uint8_t, 18> descriptor{};
    if (m_backend.GetDeviceDescriptor(handle, descriptor) && le::U16(descriptor, kProductIdOffset) == kLcuProductId) {
      m_hDevice = handle;
      return true;
    }
    m_backend.CloseNode(handle);
  }
  return false;
}

void CUsbDevice::CloseWithError(std::uint32_t code) {
  if (m_hDevice == kInvalidUsbHandle) return;
  m_dwLastError = code;
  m_backend.CloseNode(m_hDevice);
  m_hDevice = kInvalidUsbHandle;
  ++m_nCloses;
  m_bBusy = 0;
  m_bOnline = 0;
  m_bLoggingSeen = 0;
}

void CUsbDevice::CloseDevice() {
  if (m_hDevice == kInvalidUsbHandle) return;
  CloseWithError(m_backend.LastError());
}

void CUsbDevice::FailShortTransfer() { CloseWithError(kErrorShortTransfer); }

std::string CUsbDevice::ErrorTextOf(std::uint32_t code) const {
  std::string text = m_backend.ErrorText(code);
  return text.empty() ? CommonErrorText(code) : text;
}

std::string CUsbDevice::LastErrorText() const { return ErrorTextOf(m_dwLastError); }

std::string CUsbDevice::OfflineReason() const { return ErrorTextOf(m_backend.LastError()); }

bool CUsbDevice::VendorRead(std::uint8_t request, std::uint16_t value, std::uint16_t index, std::uint16_t length,
                            std::span<std::uint8_t> buffer) {
  if (m_hDevice == kInvalidUsbHandle) return false;
  if (buffer.size() < length) std::abort();
  VendorRequest r;
  r.bmRequestType = kRequestTypeVendorIn;
  r.bRequest = request;
  r.wValue = value;
  r.wIndex = index;
  r.wLength = length;
  const ExchangeScope exchange(*this);
  if (!m_backend.ControlRequest(m_hDevice, r, buffer.first(length))) {
    CloseDevice();
    return false;
  }
  return true;
}

bool CUsbDevice::VendorWrite(std::uint8_t request, std::uint16_t value, std::uint16_t index, std::uint16_t length) {
  if (m_hDevice == kInvalidUsbHandle) return false;
  VendorRequest r;
  r.bmRequestType = kRequestTypeVendorOut;
  r.bRequest = request;
  r.wValue = value;
  r.wIndex = index;
  r.wLength = length;
  if (!m_backend.ControlRequest(m_hDevice, r, {})) {
    CloseDevice();
    return false;
  }
  return true;
}

bool CUsbDevice::BulkRead(std::span<std::uint8_t> buffer, std::uint32_t* moved) {
  if (m_hDevice == kInvalidUsbHandle) return false;
  std::uint32_t count = 0;
  if (!m_backend.BulkRead(m_hDevice, buffer, count)) {
    CloseDevice();
    return false;
  }
  if (moved) *moved = count;
  return true;
}

bool CUsbDevice::BulkWrite(std::span<const std::uint8_t> buffer, std::uint32_t* moved) {
  if (m_hDevice == kInvalidUsbHandle) return false;
  std::uint32_t count = 0;
  if (!m_backend.BulkWrite(m_hDevice, buffer, count)) {
    CloseDevice();
    return false;
  }
  if (moved) *moved = count;
  return true;
}

void CUsbDevice::PollStatus() {
  if (m_bBusy) return;
  if (m_hDevice == kInvalidUsbHandle && !FindDevice()) return;
  m_bOnline = VendorRead(LCU_READ_BLOCK, kStatusAddress, 0, kBlockSize, m_status) ? 1 : 0;
}

bool CUsbDevice::IsLogging() {
  std::array<std::uint8_t, kBlockSize> state{};
  if (!VendorRead(LCU_READ_BLOCK, kLoggingStateAddress, 0, kBlockSize, state)) return false;
  m_bLoggingSeen = (state[0] & kLoggingBits) != 0 ? 1 : 0;
  return m_bLoggingSeen != 0;
}

void CUsbDevice::GetClock(std::uint16_t& hours, std::uint16_t& minutes) const {
  const std::uint16_t field = le::U16(m_status, kClockOffset);
  hours = static_cast<std::uint16_t>(field / 60);
  minutes = static_cast<std::uint16_t>(field % 60);
}

}  // namespace lcu
