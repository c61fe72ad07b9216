#include "core/link/vendor_request.h"

#include "core/util/little_endian.h"

namespace lcu {

std::array<std::uint8_t, kVendorRequestSize> VendorRequest::Encode() const {
  std::array<std::uint8_t, kVendorRequestSize> b{};
  le::PutU8(b, 0, bmRequestType);
  le::PutU8(b, 1, bRequest);
  le::PutU16(b, 2, wValue);
  le::PutU16(b, 4, wIndex);
  le::PutU16(b, 6, wLength);
  le::PutU32(b, 8, pData);
  return b;
}

VendorRequest VendorRequest::Decode(const std::array<std::uint8_t, kVendorRequestSize>& bytes) {
  VendorRequest r;
  r.bmRequestType = le::U8(bytes, 0);
  r.bRequest = le::U8(bytes, 1);
  r.wValue = le::U16(bytes, 2);
  r.wIndex = le::U16(bytes, 4);
  r.wLength = le::U16(bytes, 6);
  r.pData = le::U32(bytes, 8);
  return r;
}

bool operator==(const VendorRequest& a, const VendorRequest& b) {
  return a.bmRequestType == b.bmRequestType && a.bRequest == b.bRequest && a.wValue == b.wValue &&
         a.wIndex == b.wIndex && a.wLength == b.wLength && a.pData == b.pData;
}

}  // namespace lcu
