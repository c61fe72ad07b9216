// One vendor control request as the link hands it to a USB backend; each backend sends it in
// its own form (libusb's setup packet, the Windows driver's request block).
#pragma once

#include <cstdint>

namespace lcu {

struct VendorRequest {
  std::uint8_t bmRequestType = 0;
  std::uint8_t bRequest = 0;
  std::uint16_t wValue = 0;
  std::uint16_t wIndex = 0;
  std::uint16_t wLength = 0;

  bool IsRead() const { return (bmRequestType & 0x80) != 0; }

  friend bool operator==(const VendorRequest&, const VendorRequest&) = default;
};

}  // namespace lcu
