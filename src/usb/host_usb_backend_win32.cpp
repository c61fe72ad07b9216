#include "usb/host_usb_backend.h"

#include "usb/win32_usbscan_backend.h"

namespace lcu::usb {

// The driver's device nodes belong to the LCU alone, so the vendor id of the settings, which
// narrows libusb's view of every device on the machine, has nothing to narrow here.
std::unique_ptr<UsbBackend> OpenHostUsbBackend(const SettingsStore&, std::string&) {
  return std::make_unique<Win32UsbscanBackend>();
}

// The driver is the LCU's own; it has no version the program can ask for.
std::string HostUsbStackVersion() { return "the LCU's Windows driver (\\\\.\\USBSCAN)"; }

}  // namespace lcu::usb
