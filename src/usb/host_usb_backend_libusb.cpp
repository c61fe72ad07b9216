#include "usb/host_usb_backend.h"

#include "usb/libusb_backend.h"

namespace lcu::usb {

std::unique_ptr<UsbBackend> OpenHostUsbBackend(const SettingsStore& store, std::string& problem) {
  auto backend = std::make_unique<LibusbBackend>(ConfiguredUsbVendorId(store));
  if (!backend->Ok()) {
    problem = backend->Error();
    return nullptr;
  }
  return backend;
}

std::string HostUsbStackVersion() { return "libusb " + LibusbVersion(); }

}  // namespace lcu::usb
