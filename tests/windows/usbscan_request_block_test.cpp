// The Windows driver's request block: the request's fields and the data stage's address.
#include "usb/usbscan_request_block.h"

#include <gtest/gtest.h>

#include "core/link/lcu_protocol.h"

namespace lcu::usb {
namespace {

TEST(UsbscanRequestBlock, EncodesTwelveLittleEndianBytes) {
  const VendorRequest r{0x40, LCU_LOAD_FIRMWARE, 0x2000, 0x6B3D, 0};
  const RequestBlock b = EncodeRequestBlock(r, 0x12345678);
  EXPECT_EQ(b, (RequestBlock{0x40, 0x48, 0x00, 0x20, 0x3D, 0x6B, 0x00, 0x00, 0x78, 0x56, 0x34, 0x12}));
  const DecodedRequestBlock decoded = DecodeRequestBlock(b);
  EXPECT_EQ(decoded.request, r);
  EXPECT_EQ(decoded.pData, 0x12345678u);
}

}  // namespace
}  // namespace lcu::usb
