// One vendor control request as the link hands it to a USB backend.
#pragma once

#include <array>
#include <cstdint>

namespace lcu {

inline constexpr std::size_t kVendorRequestSize = 12;

/// One control request as handed to the driver. pData is the 32-bit address of the data
/// stage buffer in the original driver's block; backends pass the data stage separately.
struct VendorRequest {
  std::uint8_t bmRequestType = 0;
  std::uint8_t bRequest = 0;
  std::uint16_t wValue = 0;
  std::uint16_t wIndex = 0;
  std::uint16_t wLength = 0;
  std::uint32_t pData = 0;

  bool IsRead() const { return (bmRequestType & 0x80) != 0; }

  /// The block's 12 little-endian bytes, without padding.
  std::array<std::uint8_t, kVendorRequestSize> Encode() const;
  static VendorRequest Decode(const std::array<std::uint8_t, kVendorRequestSize>& bytes);
};

bool operator==(const VendorRequest& a, const VendorRequest& b);

}  // namespace lcu
