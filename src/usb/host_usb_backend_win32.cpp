#include "usb/host_usb_backend.h"

#include "usb/usb_errors.h"
#include "usb/win32_usbscan_backend.h"

namespace lcu::usb {

// The driver's device nodes belong to the LCU alone, so the vendor id of the settings, which
// narrows libusb's view of every device on the machine, has nothing to narrow here. Nor does
// the driver tell where on the bus its LCU is, so there is nothing to list or choose by.
std::unique_ptr<UsbBackend> OpenHostUsbBackend(const SettingsStore&, const HostUsbOptions& options,
                                               std::string& problem) {
  if (options.device) {
    problem = text::kDriverCannotList;
    return nullptr;
  }
  return std::make_unique<Win32UsbscanBackend>();
}

std::optional<std::vector<LcuCandidate>> ListHostUsbDevices(const SettingsStore&, const HostUsbOptions&,
                                                            std::string& problem) {
  problem = text::kDriverCannotList;
  return std::nullopt;
}

// The driver is the LCU's own; it has no version the program can ask for.
std::string HostUsbStackVersion() { return "the LCU's Windows driver (\\\\.\\USBSCAN)"; }

}  // namespace lcu::usb
