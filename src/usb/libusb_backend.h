// LibusbBackend: the real LCU over libusb-1.0 (Linux, macOS, and Windows with WinUSB).
//
// libusb sees every USB device of the machine, and other instruments use product id 1230
// too, so a device is taken as an LCU only when its product id is 1230 and its active
// configuration has a vendor-specific interface (class 0xFF) with exactly one bulk IN and
// one bulk OUT endpoint; a vendor id, when given, must match as well. "Node n" is the n-th
// such device in the order of bus and port path, so the link's search of nodes 0 to 14 opens
// the first LCU that can be opened, and an LCU keeps its number while it stays where it is
// plugged in. A device selector narrows the nodes to the one LCU it names, which is then
// node 0. Devices that do not match are never opened.
//
// ListCandidates shows the same survey the search makes, device by device, and tries to open
// each LCU so that it can say which ones this user may have.
//
// Opening detaches a kernel driver bound to the interface (and gives it back on close) and
// claims the interface. Every call is synchronous; libusb's errors become the Windows codes
// of usb_errors.h.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "core/host/settings_store.h"
#include "core/link/device_selector.h"
#include "core/link/lcu_protocol.h"
#include "core/link/usb_backend.h"
#include "usb/lcu_candidate.h"
#include "usb/usb_errors.h"

struct libusb_context;
struct libusb_device;
struct libusb_device_handle;

namespace lcu::usb {

/// Milliseconds a vendor control request may take. The LCU answers from its memory within a
/// frame or two; a second is ample and still lets the status poll report a hung LCU promptly.
inline constexpr unsigned kControlTimeoutMs = 1000;
/// Milliseconds one bulk transfer may take. The largest the link makes is 32 KiB (the program
/// dump; a logger chunk is 16 KiB), about 27 ms at full speed's 1.2 MB/s; five seconds leaves
/// room for a busy bus and an LCU that pauses to fetch from data memory, yet ends a download
/// from an LCU that stopped answering in seconds rather than hanging it.
inline constexpr unsigned kBulkTimeoutMs = 5000;

/// The vendor id set in the settings ("Config\Hardware", "UsbVendorId", hex, e.g. "1A2B"
/// or "0x1A2B"); nullopt when it is missing, empty or not a 16-bit hex number.
std::optional<std::uint16_t> ConfiguredUsbVendorId(const SettingsStore& store);

/// The version of the libusb the program runs with, for instance "1.0.26.11724"; a release
/// candidate's suffix follows it ("1.0.27-rc1").
std::string LibusbVersion();

struct LibusbOptions {
  std::optional<std::uint16_t> vendorId{};  // an LCU must have this vendor id
  std::optional<DeviceSelector> device{};   // only this LCU is searched
  std::ostream* log = nullptr;              // libusb's own warnings go here; none when null
};

class LibusbBackend final : public UsbBackend {
 public:
  explicit LibusbBackend(LibusbOptions options = {});
  ~LibusbBackend() override;
  LibusbBackend(const LibusbBackend&) = delete;
  LibusbBackend& operator=(const LibusbBackend&) = delete;

  /// False when libusb could not be started; Error() then says why.
  bool Ok() const { return m_context != nullptr; }
  const std::string& Error() const { return m_error; }

  /// Every device with the LCU's product id, in the search's order, with the verdict the
  /// search would come to. Each LCU not open here is opened and closed again to learn
  /// whether it can be had. Nullopt when the devices cannot be listed; LastError() says why.
  std::optional<std::vector<LcuCandidate>> ListCandidates();

  UsbHandle OpenNode(int node) override;
  bool GetDeviceDescriptor(UsbHandle handle, std::span<std::uint8_t, 18> descriptor) override;
  bool ControlRequest(UsbHandle handle, const VendorRequest& request, std::span<std::uint8_t> data) override;
  bool BulkRead(UsbHandle handle, std::span<std::uint8_t> buffer, std::uint32_t& moved) override;
  bool BulkWrite(UsbHandle handle, std::span<const std::uint8_t> buffer, std::uint32_t& moved) override;
  void CloseNode(UsbHandle handle) override;
  std::uint32_t LastError() const override { return m_lastError; }
  std::string ErrorText(std::uint32_t code) const override;

 private:
  struct OpenLcu {
    libusb_device_handle* device = nullptr;
    int interfaceNumber = 0;
    std::uint8_t endpointIn = 0;
    std::uint8_t endpointOut = 0;
  };

  bool Fail(int libusbError);
  bool Fail(std::uint32_t code);
  OpenLcu* Find(UsbHandle handle);
  bool Open(libusb_device* device, int interfaceNumber, std::uint8_t endpointIn, std::uint8_t endpointOut,
            OpenLcu& lcu);

  libusb_context* m_context = nullptr;
  LibusbOptions m_options;
  std::map<UsbHandle, OpenLcu> m_open;
  UsbHandle m_nextHandle = 1;
  std::uint32_t m_lastError = kErrorInvalidHandle;
  std::uint32_t m_searchError = kErrorNoLcu;
  std::string m_error;
};

/// The code of usb_errors.h for a libusb error number.
std::uint32_t MapLibusbError(int libusbError);

}  // namespace lcu::usb
