#include "usb/usbscan_request_block.h"

#include "core/util/little_endian.h"

namespace lcu::usb {

RequestBlock EncodeRequestBlock(const VendorRequest& request, std::uint32_t pData) {
  RequestBlock b{};
  le::PutU8(b, 0, request.bmRequestType);
  le::PutU8(b, 1, request.bRequest);
  le::PutU16(b, 2, request.wValue);
  le::PutU16(b, 4, request.wIndex);
  le::PutU16(b, 6, request.wLength);
  le::PutU32(b, 8, pData);
  return b;
}

DecodedRequestBlock DecodeRequestBlock(const RequestBlock& b) {
  DecodedRequestBlock decoded;
  decoded.request.bmRequestType = le::U8(b, 0);
  decoded.request.bRequest = le::U8(b, 1);
  decoded.request.wValue = le::U16(b, 2);
  decoded.request.wIndex = le::U16(b, 4);
  decoded.request.wLength = le::U16(b, 6);
  decoded.pData = le::U32(b, 8);
  return decoded;
}

}  // namespace lcu::usb
