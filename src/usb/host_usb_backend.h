// The backend of a real LCU on this system: the LCU's original driver on Windows, libusb
// elsewhere. Each platform has its own implementation file, chosen in CMake (target
// lcu_usb_host), so that the programs name no backend of their own.
#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "core/host/settings_store.h"
#include "core/link/device_selector.h"
#include "core/link/usb_backend.h"
#include "usb/lcu_candidate.h"

namespace lcu::usb {

struct HostUsbOptions {
  std::optional<DeviceSelector> device{};  // only this LCU is used
  std::ostream* log = nullptr;             // the USB layer's own warnings, when it has any
};

/// The backend, not yet searched for an LCU; with libusb narrowed to the vendor id of the
/// settings. Null when the system's USB layer could not be started or cannot take the
/// options: problem then says why.
std::unique_ptr<UsbBackend> OpenHostUsbBackend(const SettingsStore& store, const HostUsbOptions& options,
                                               std::string& problem);

/// Every device with the LCU's product id and whether the backend of the same settings and
/// options takes it as the LCU. Nullopt when the devices cannot be listed: problem then says
/// why.
std::optional<std::vector<LcuCandidate>> ListHostUsbDevices(const SettingsStore& store, const HostUsbOptions& options,
                                                            std::string& problem);

/// The USB layer the backend runs on, with its version where it has one ("libusb 1.0.26"),
/// for the programs' version texts.
std::string HostUsbStackVersion();

}  // namespace lcu::usb
