#include "usb/libusb_backend.h"

#include <algorithm>
#include <climits>

#include <libusb.h>

#include "core/host/registry.h"
#include "core/host/setting_form.h"
#include "core/util/little_endian.h"
#include "usb/usb_errors.h"

namespace lcu::usb {

namespace {

constexpr std::uint8_t kVendorSpecificClass = 0xFF;

/// Where the LCU's interface and bulk pipe pair are, once a device has been found to be one.
struct LcuInterface {
  int number = 0;
  std::uint8_t endpointIn = 0;
  std::uint8_t endpointOut = 0;
};

std::optional<LcuInterface> FindLcuInterface(const libusb_config_descriptor& config) {
  for (int i = 0; i < config.bNumInterfaces; ++i) {
    const libusb_interface& iface = config.interface[i];
    for (int a = 0; a < iface.num_altsetting; ++a) {
      const libusb_interface_descriptor& setting = iface.altsetting[a];
      if (setting.bInterfaceClass != kVendorSpecificClass || setting.bAlternateSetting != 0) continue;
      int ins = 0;
      int outs = 0;
      LcuInterface found;
      found.number = setting.bInterfaceNumber;
      for (int e = 0; e < setting.bNumEndpoints; ++e) {
        const libusb_endpoint_descriptor& endpoint = setting.endpoint[e];
        if ((endpoint.bmAttributes & LIBUSB_TRANSFER_TYPE_MASK) != LIBUSB_TRANSFER_TYPE_BULK) continue;
        if ((endpoint.bEndpointAddress & LIBUSB_ENDPOINT_DIR_MASK) == LIBUSB_ENDPOINT_IN) {
          ++ins;
          found.endpointIn = endpoint.bEndpointAddress;
        } else {
          ++outs;
          found.endpointOut = endpoint.bEndpointAddress;
        }
      }
      if (ins == 1 && outs == 1) return found;
    }
  }
  return std::nullopt;
}

/// The LCU's interface when the device is an LCU, read from the descriptors the system has
/// cached: the device itself is not opened.
std::optional<LcuInterface> MatchLcu(libusb_device* device, std::optional<std::uint16_t> vendorId) {
  libusb_device_descriptor descriptor{};
  if (libusb_get_device_descriptor(device, &descriptor) != LIBUSB_SUCCESS) return std::nullopt;
  if (descriptor.idProduct != kLcuProductId) return std::nullopt;
  if (vendorId && descriptor.idVendor != *vendorId) return std::nullopt;
  libusb_config_descriptor* config = nullptr;
  if (libusb_get_active_config_descriptor(device, &config) != LIBUSB_SUCCESS &&
      libusb_get_config_descriptor(device, 0, &config) != LIBUSB_SUCCESS) {
    return std::nullopt;
  }
  std::optional<LcuInterface> found = FindLcuInterface(*config);
  libusb_free_config_descriptor(config);
  return found;
}

}  // namespace

std::optional<std::uint16_t> ConfiguredUsbVendorId(const SettingsStore& store) {
  const std::optional<std::string> text = store.ReadValue(reg::kHardware, reg::kUsbVendorId);
  if (!text) return std::nullopt;
  std::string_view digits = *text;
  while (!digits.empty() && digits.front() == ' ') digits.remove_prefix(1);
  while (!digits.empty() && digits.back() == ' ') digits.remove_suffix(1);
  return ParseHex16Setting(digits);
}

std::string LibusbVersion() {
  const libusb_version* version = libusb_get_version();
  std::string text = std::to_string(version->major) + '.' + std::to_string(version->minor) + '.' +
                     std::to_string(version->micro) + '.' + std::to_string(version->nano);
  if (version->rc) text += version->rc;
  return text;
}

std::uint32_t MapLibusbError(int libusbError) {
  switch (libusbError) {
    case LIBUSB_SUCCESS: return kErrorSuccess;
    case LIBUSB_ERROR_ACCESS: return kErrorAccessDenied;
    case LIBUSB_ERROR_NO_DEVICE: return kErrorDisconnected;
    case LIBUSB_ERROR_NOT_FOUND: return kErrorNoLcu;
    case LIBUSB_ERROR_BUSY: return kErrorBusy;
    case LIBUSB_ERROR_TIMEOUT: return kErrorTimeout;
    case LIBUSB_ERROR_OVERFLOW: return kErrorOverflow;
    case LIBUSB_ERROR_PIPE: return kErrorStall;
    case LIBUSB_ERROR_INTERRUPTED: return kErrorInterrupted;
    case LIBUSB_ERROR_NO_MEM: return kErrorNotEnoughMemory;
    case LIBUSB_ERROR_NOT_SUPPORTED: return kErrorNotSupported;
    case LIBUSB_ERROR_INVALID_PARAM: return kErrorInvalidParameter;
    default: return kErrorIo;
  }
}

LibusbBackend::LibusbBackend(std::optional<std::uint16_t> vendorId) : m_vendorId(vendorId) {
  const int result = libusb_init(&m_context);
  if (result != LIBUSB_SUCCESS) {
    m_context = nullptr;
    m_error = std::string(text::kCannotStartLibusb) + libusb_strerror(result);
  }
}

LibusbBackend::~LibusbBackend() {
  while (!m_open.empty()) CloseNode(m_open.begin()->first);
  if (m_context) libusb_exit(m_context);
}

bool LibusbBackend::Fail(int libusbError) { return Fail(MapLibusbError(libusbError)); }

bool LibusbBackend::Fail(std::uint32_t code) {
  m_lastError = code;
  return false;
}

LibusbBackend::OpenLcu* LibusbBackend::Find(UsbHandle handle) {
  const auto it = m_open.find(handle);
  if (it == m_open.end()) {
    Fail(kErrorInvalidHandle);
    return nullptr;
  }
  return &it->second;
}

UsbHandle LibusbBackend::OpenNode(int node) {
  if (!m_context) {
    Fail(kErrorNotSupported);
    return kInvalidUsbHandle;
  }
  libusb_device** devices = nullptr;
  const ssize_t count = libusb_get_device_list(m_context, &devices);
  if (count < 0) {
    Fail(static_cast<int>(count));
    return kInvalidUsbHandle;
  }
  // The link searches nodes 0, 1, ... in turn: a search that ends without an LCU keeps the
  // reason an LCU that was found could not be opened (no permission, busy), not "no LCU".
  if (node == 0) m_searchError = kErrorNoLcu;
  UsbHandle handle = kInvalidUsbHandle;
  int seen = 0;
  bool found = false;
  for (ssize_t i = 0; i < count && !found; ++i) {
    const std::optional<LcuInterface> lcu = MatchLcu(devices[i], m_vendorId);
    if (!lcu || seen++ != node) continue;
    found = true;
    OpenLcu open;
    if (Open(devices[i], lcu->number, lcu->endpointIn, lcu->endpointOut, open)) {
      handle = m_nextHandle++;
      m_open[handle] = open;
      m_lastError = kErrorSuccess;
    } else {
      m_searchError = m_lastError;
    }
  }
  libusb_free_device_list(devices, 1);
  if (!found) Fail(m_searchError);
  return handle;
}

bool LibusbBackend::Open(libusb_device* device, int interfaceNumber, std::uint8_t endpointIn,
                         std::uint8_t endpointOut, OpenLcu& lcu) {
  libusb_device_handle* handle = nullptr;
  int result = libusb_open(device, &handle);
  if (result != LIBUSB_SUCCESS) return Fail(result);
  // Not every system lets a program take an interface from a kernel driver; where it cannot,
  // the claim below says so.
  libusb_set_auto_detach_kernel_driver(handle, 1);
  result = libusb_claim_interface(handle, interfaceNumber);
  if (result != LIBUSB_SUCCESS) {
    libusb_close(handle);
    return Fail(result);
  }
  lcu.device = handle;
  lcu.interfaceNumber = interfaceNumber;
  lcu.endpointIn = endpointIn;
  lcu.endpointOut = endpointOut;
  return true;
}

bool LibusbBackend::GetDeviceDescriptor(UsbHandle handle, std::span<std::uint8_t, 18> bytes) {
  OpenLcu* lcu = Find(handle);
  if (!lcu) return false;
  libusb_device_descriptor d{};
  const int result = libusb_get_device_descriptor(libusb_get_device(lcu->device), &d);
  if (result != LIBUSB_SUCCESS) return Fail(result);
  bytes[0] = d.bLength;
  bytes[1] = d.bDescriptorType;
  le::PutU16(bytes, 2, d.bcdUSB);
  bytes[4] = d.bDeviceClass;
  bytes[5] = d.bDeviceSubClass;
  bytes[6] = d.bDeviceProtocol;
  bytes[7] = d.bMaxPacketSize0;
  le::PutU16(bytes, 8, d.idVendor);
  le::PutU16(bytes, 10, d.idProduct);
  le::PutU16(bytes, 12, d.bcdDevice);
  bytes[14] = d.iManufacturer;
  bytes[15] = d.iProduct;
  bytes[16] = d.iSerialNumber;
  bytes[17] = d.bNumConfigurations;
  return true;
}

bool LibusbBackend::ControlRequest(UsbHandle handle, const VendorRequest& request, std::span<std::uint8_t> data) {
  OpenLcu* lcu = Find(handle);
  if (!lcu) return false;
  if (data.size() != request.wLength) return Fail(kErrorInvalidParameter);
  const int result = libusb_control_transfer(lcu->device, request.bmRequestType, request.bRequest, request.wValue,
                                             request.wIndex, data.empty() ? nullptr : data.data(), request.wLength,
                                             kControlTimeoutMs);
  if (result < 0) return Fail(result);
  // The link has no count for control requests: a short data stage would leave stale bytes.
  if (request.IsRead() && result != request.wLength) return Fail(kErrorShortTransfer);
  m_lastError = kErrorSuccess;
  return true;
}

bool LibusbBackend::BulkRead(UsbHandle handle, std::span<std::uint8_t> buffer, std::uint32_t& moved) {
  OpenLcu* lcu = Find(handle);
  if (!lcu) return false;
  if (buffer.size() > INT_MAX) return Fail(kErrorInvalidParameter);
  int transferred = 0;
  const int result = libusb_bulk_transfer(lcu->device, lcu->endpointIn, buffer.data(),
                                          static_cast<int>(buffer.size()), &transferred, kBulkTimeoutMs);
  if (result != LIBUSB_SUCCESS) return Fail(result);
  moved = static_cast<std::uint32_t>(transferred);
  m_lastError = kErrorSuccess;
  return true;
}

bool LibusbBackend::BulkWrite(UsbHandle handle, std::span<const std::uint8_t> buffer, std::uint32_t& moved) {
  OpenLcu* lcu = Find(handle);
  if (!lcu) return false;
  if (buffer.size() > INT_MAX) return Fail(kErrorInvalidParameter);
  int transferred = 0;
  // libusb takes a mutable pointer for both directions; an OUT transfer only reads it.
  const int result = libusb_bulk_transfer(lcu->device, lcu->endpointOut, const_cast<std::uint8_t*>(buffer.data()),
                                          static_cast<int>(buffer.size()), &transferred, kBulkTimeoutMs);
  if (result != LIBUSB_SUCCESS) return Fail(result);
  moved = static_cast<std::uint32_t>(transferred);
  m_lastError = kErrorSuccess;
  return true;
}

void LibusbBackend::CloseNode(UsbHandle handle) {
  const auto it = m_open.find(handle);
  if (it == m_open.end()) return;
  // Releasing gives the interface back to a kernel driver that was detached on open.
  libusb_release_interface(it->second.device, it->second.interfaceNumber);
  libusb_close(it->second.device);
  m_open.erase(it);
}

std::string LibusbBackend::ErrorText(std::uint32_t code) const { return UsbErrorText(code); }

}  // namespace lcu::usb
