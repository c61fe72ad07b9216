#include "usb/libusb_backend.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <climits>
#include <span>
#include <tuple>

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

struct Examined {
  LcuVerdict verdict = LcuVerdict::kNoVendorInterface;
  LcuInterface lcu;  // when the verdict is kLcu
};

Examined ExamineConfig(const libusb_config_descriptor& config) {
  Examined examined;
  for (int i = 0; i < config.bNumInterfaces; ++i) {
    const libusb_interface& iface = config.interface[i];
    for (int a = 0; a < iface.num_altsetting; ++a) {
      const libusb_interface_descriptor& setting = iface.altsetting[a];
      if (setting.bInterfaceClass != kVendorSpecificClass || setting.bAlternateSetting != 0) continue;
      examined.verdict = LcuVerdict::kMissingEndpoints;
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
      if (ins == 1 && outs == 1) return {LcuVerdict::kLcu, found};
    }
  }
  return examined;
}

/// Whether the device is an LCU, read from the descriptors the system has cached: the device
/// itself is not opened.
Examined Examine(libusb_device* device, const libusb_device_descriptor& descriptor,
                 std::optional<std::uint16_t> vendorId) {
  if (vendorId && descriptor.idVendor != *vendorId) return {LcuVerdict::kOtherVendor, {}};
  libusb_config_descriptor* config = nullptr;
  if (libusb_get_active_config_descriptor(device, &config) != LIBUSB_SUCCESS &&
      libusb_get_config_descriptor(device, 0, &config) != LIBUSB_SUCCESS) {
    return {LcuVerdict::kUnreadable, {}};
  }
  const Examined examined = ExamineConfig(*config);
  libusb_free_config_descriptor(config);
  return examined;
}

std::string_view VerdictText(LcuVerdict verdict) {
  switch (verdict) {
    case LcuVerdict::kNoVendorInterface: return text::kNoVendorInterface;
    case LcuVerdict::kMissingEndpoints: return text::kMissingEndpoints;
    case LcuVerdict::kOtherVendor: return text::kOtherVendor;
    case LcuVerdict::kUnreadable: return text::kUnreadable;
    case LcuVerdict::kNotSelected: return text::kNotSelected;
    default: return {};
  }
}

LcuVerdict VerdictOfOpenError(std::uint32_t code) {
  switch (code) {
    case kErrorAccessDenied: return LcuVerdict::kPermissionDenied;
    case kErrorBusy: return LcuVerdict::kBusy;
    default: return LcuVerdict::kCannotOpen;
  }
}

struct Surveyed {
  LcuCandidate candidate;
  libusb_device* device = nullptr;
  LcuInterface lcu;
};

struct Survey {
  std::vector<Surveyed> devices;
  /// The selector names a device that is there but is no LCU.
  bool selectedNoLcu = false;
};

/// The devices with the LCU's product id, ordered by bus and port path (libusb's own order
/// changes as devices come and go), each with its verdict from its descriptors and the
/// selector: the search's nodes are those left with kLcu.
Survey SurveyDevices(std::span<libusb_device*> devices, const LibusbOptions& options) {
  Survey survey;
  for (libusb_device* device : devices) {
    libusb_device_descriptor descriptor{};
    if (libusb_get_device_descriptor(device, &descriptor) != LIBUSB_SUCCESS) continue;
    if (descriptor.idProduct != kLcuProductId) continue;
    Surveyed surveyed;
    surveyed.device = device;
    LcuCandidate& candidate = surveyed.candidate;
    candidate.bus = libusb_get_bus_number(device);
    std::array<std::uint8_t, kMaxPortDepth> ports{};
    const int depth = libusb_get_port_numbers(device, ports.data(), static_cast<int>(ports.size()));
    if (depth > 0) candidate.ports.assign(ports.begin(), ports.begin() + depth);
    candidate.vendorId = descriptor.idVendor;
    candidate.productId = descriptor.idProduct;
    const Examined examined = Examine(device, descriptor, options.vendorId);
    candidate.verdict = examined.verdict;
    surveyed.lcu = examined.lcu;
    survey.devices.push_back(std::move(surveyed));
  }
  std::ranges::sort(survey.devices, {}, [](const Surveyed& s) { return std::tie(s.candidate.bus, s.candidate.ports); });
  int lcus = 0;
  for (Surveyed& surveyed : survey.devices) {
    LcuCandidate& candidate = surveyed.candidate;
    if (candidate.verdict == LcuVerdict::kLcu) candidate.index = lcus++;
    if (options.device && !options.device->Selects(candidate.index, candidate.bus, candidate.ports)) {
      if (candidate.verdict == LcuVerdict::kLcu) candidate.verdict = LcuVerdict::kNotSelected;
    } else if (options.device && candidate.verdict != LcuVerdict::kLcu) {
      survey.selectedNoLcu = true;
    }
    candidate.reason = VerdictText(candidate.verdict);
  }
  return survey;
}

/// Where libusb's warnings go: libusb's log callback carries no pointer of its own.
std::atomic<std::ostream*> g_libusbLog{nullptr};

void WriteLibusbLog(libusb_context*, enum libusb_log_level, const char* line) {
  if (std::ostream* log = g_libusbLog.load()) {
    *log << line;
    log->flush();
  }
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

LibusbBackend::LibusbBackend(LibusbOptions options) : m_options(std::move(options)) {
  const int result = libusb_init(&m_context);
  if (result != LIBUSB_SUCCESS) {
    m_context = nullptr;
    m_error = std::string(text::kCannotStartLibusb) + libusb_strerror(result);
    return;
  }
  if (m_options.log) {
    g_libusbLog = m_options.log;
    libusb_set_log_cb(m_context, WriteLibusbLog, LIBUSB_LOG_CB_CONTEXT);
    libusb_set_option(m_context, LIBUSB_OPTION_LOG_LEVEL, LIBUSB_LOG_LEVEL_WARNING);
  }
}

LibusbBackend::~LibusbBackend() {
  while (!m_open.empty()) CloseNode(m_open.begin()->first);
  if (m_context) libusb_exit(m_context);
  if (m_options.log) g_libusbLog = nullptr;
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
  const Survey survey = SurveyDevices({devices, static_cast<std::size_t>(count)}, m_options);
  // The link searches nodes 0, 1, ... in turn: a search that ends without an LCU keeps the
  // reason an LCU that was found could not be opened (no permission, busy), not "no LCU".
  if (node == 0) m_searchError = survey.selectedNoLcu ? kErrorNotAnLcu : kErrorNoLcu;
  UsbHandle handle = kInvalidUsbHandle;
  int seen = 0;
  bool found = false;
  for (const Surveyed& surveyed : survey.devices) {
    if (surveyed.candidate.verdict != LcuVerdict::kLcu || seen++ != node) continue;
    found = true;
    OpenLcu open;
    if (Open(surveyed.device, surveyed.lcu.number, surveyed.lcu.endpointIn, surveyed.lcu.endpointOut, open)) {
      handle = m_nextHandle++;
      m_open[handle] = open;
      m_lastError = kErrorSuccess;
    } else {
      m_searchError = m_lastError;
    }
    break;
  }
  libusb_free_device_list(devices, 1);
  if (!found) Fail(m_searchError);
  return handle;
}

std::optional<std::vector<LcuCandidate>> LibusbBackend::ListCandidates() {
  if (!m_context) {
    Fail(kErrorNotSupported);
    return std::nullopt;
  }
  libusb_device** devices = nullptr;
  const ssize_t count = libusb_get_device_list(m_context, &devices);
  if (count < 0) {
    Fail(static_cast<int>(count));
    return std::nullopt;
  }
  std::vector<LcuCandidate> candidates;
  for (Surveyed& surveyed : SurveyDevices({devices, static_cast<std::size_t>(count)}, m_options).devices) {
    LcuCandidate& candidate = surveyed.candidate;
    const bool openHere = std::ranges::any_of(
        m_open, [&](const auto& open) { return libusb_get_device(open.second.device) == surveyed.device; });
    OpenLcu probe;
    if (candidate.verdict == LcuVerdict::kLcu && !openHere) {
      if (Open(surveyed.device, surveyed.lcu.number, surveyed.lcu.endpointIn, surveyed.lcu.endpointOut, probe)) {
        libusb_release_interface(probe.device, probe.interfaceNumber);
        libusb_close(probe.device);
      } else {
        candidate.verdict = VerdictOfOpenError(m_lastError);
        candidate.reason = UsbErrorText(m_lastError);
      }
    }
    candidates.push_back(std::move(candidate));
  }
  libusb_free_device_list(devices, 1);
  m_lastError = kErrorSuccess;
  return candidates;
}

bool LibusbBackend::Open(libusb_device* device, int interfaceNumber, std::uint8_t endpointIn, std::uint8_t endpointOut,
                         OpenLcu& lcu) {
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
  const int result =
      libusb_control_transfer(lcu->device, request.bmRequestType, request.bRequest, request.wValue, request.wIndex,
                              data.empty() ? nullptr : data.data(), request.wLength, kControlTimeoutMs);
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
  const int result = libusb_bulk_transfer(lcu->device, lcu->endpointIn, buffer.data(), static_cast<int>(buffer.size()),
                                          &transferred, kBulkTimeoutMs);
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
