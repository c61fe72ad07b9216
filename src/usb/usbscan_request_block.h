// The 12-byte request block that the LCU's original Windows driver takes with its vendor
// request control code: the request's fields and pData, the 32-bit address of the data stage,
// little-endian and without padding.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/link/vendor_request.h"

namespace lcu::usb {

inline constexpr std::size_t kRequestBlockSize = 12;
using RequestBlock = std::array<std::uint8_t, kRequestBlockSize>;

/// A request block as the driver reads it back: the request and its pData.
struct DecodedRequestBlock {
  VendorRequest request;
  std::uint32_t pData = 0;
};

RequestBlock EncodeRequestBlock(const VendorRequest& request, std::uint32_t pData);
DecodedRequestBlock DecodeRequestBlock(const RequestBlock& block);

}  // namespace lcu::usb
