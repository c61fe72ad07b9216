// The Intel-HEX writer: records as the LCU's build tools write them, and images cut into
// records of the lengths asked for.
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "core/firmware/hex_writer.h"

namespace lcu {
namespace {

TEST(HexWriter, RecordsCarryTheirChecksumInUpperCaseDigits) {
  std::vector<std::uint8_t> bytes(16);
  std::iota(bytes.begin(), bytes.end(), std::uint8_t{0});
  EXPECT_EQ(HexRecord(0x2000, bytes), ":10200000000102030405060708090A0B0C0D0E0F58");
  EXPECT_EQ(HexRecord(0x3000, {0xDE, 0xAD, 0xBE, 0xEF}), ":04300000DEADBEEF94");
  EXPECT_EQ(HexRecord(0, {0x00, 0x01}, kHexExtendedLinear), ":020000040001F9");
  EXPECT_EQ(HexEndRecord(), ":00000001FF");
  EXPECT_EQ(HexRecords(0x2000, std::span(bytes).first(5), {2, 3}, "\r\n"),
            ":022000000001DD\r\n:03200200020304D2\r\n");
}

}  // namespace
}  // namespace lcu
