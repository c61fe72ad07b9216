// The backend of a real LCU on this system: the LCU's original driver on Windows, libusb
// elsewhere. Each platform has its own implementation file, chosen in CMake (target
// lcu_usb_host), so that the programs name no backend of their own.
#pragma once

#include <memory>
#include <string>

#include "core/host/settings_store.h"
#include "core/link/usb_backend.h"

namespace lcu::usb {

/// The backend, not yet searched for an LCU; with libusb narrowed to the vendor id of the
/// settings. Null when the system's USB layer could not be started: problem then says why.
std::unique_ptr<UsbBackend> OpenHostUsbBackend(const SettingsStore& store, std::string& problem);

/// The USB layer the backend runs on, with its version where it has one ("libusb 1.0.26"),
/// for the programs' version texts.
std::string HostUsbStackVersion();

}  // namespace lcu::usb
