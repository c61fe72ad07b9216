#include "usb/host_usb_backend.h"

#include "usb/libusb_backend.h"

namespace lcu::usb {

namespace {

std::unique_ptr<LibusbBackend> StartLibusb(const SettingsStore& store, const HostUsbOptions& options,
                                           std::string& problem) {
  auto backend = std::make_unique<LibusbBackend>(
      LibusbOptions{.vendorId = ConfiguredUsbVendorId(store), .device = options.device, .log = options.log});
  if (!backend->Ok()) {
    problem = backend->Error();
    return nullptr;
  }
  return backend;
}

}  // namespace

std::unique_ptr<UsbBackend> OpenHostUsbBackend(const SettingsStore& store, const HostUsbOptions& options,
                                               std::string& problem) {
  return StartLibusb(store, options, problem);
}

std::optional<std::vector<LcuCandidate>> ListHostUsbDevices(const SettingsStore& store, const HostUsbOptions& options,
                                                            std::string& problem) {
  const std::unique_ptr<LibusbBackend> backend = StartLibusb(store, options, problem);
  if (!backend) return std::nullopt;
  std::optional<std::vector<LcuCandidate>> candidates = backend->ListCandidates();
  if (!candidates) problem = backend->ErrorText(backend->LastError());
  return candidates;
}

std::string HostUsbStackVersion() { return "libusb " + LibusbVersion(); }

}  // namespace lcu::usb
