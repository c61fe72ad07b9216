// LcuCandidate: a USB device with the LCU's product id and whether the search takes it as
// the LCU, or why not. The libusb backend's search and `lcu list` look at the devices through
// the same survey, so that the list shows what the search does.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lcu::usb {

enum class LcuVerdict {
  kLcu,                // taken as the LCU: it can be opened and claimed
  kNoVendorInterface,  // no vendor-specific interface
  kMissingEndpoints,   // a vendor-specific interface, but not one bulk IN and one bulk OUT
  kOtherVendor,        // its vendor id is not the one set
  kUnreadable,         // its descriptors could not be read
  kNotSelected,        // an LCU, but not the one --device names
  kPermissionDenied,   // an LCU this user may not open
  kBusy,               // an LCU another program has open
  kCannotOpen,         // an LCU that could not be opened for another reason
};

struct LcuCandidate {
  int bus = 0;
  std::vector<std::uint8_t> ports;  // from the root hub
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  /// Its number among the LCUs, for --device N; nullopt for a device that is no LCU.
  std::optional<int> index;
  LcuVerdict verdict = LcuVerdict::kLcu;
  /// Why it is not taken, in the user's words; empty when it is.
  std::string reason;
};

}  // namespace lcu::usb
