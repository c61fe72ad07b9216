// The memory window's rows: every column of a byte.
#include <gtest/gtest.h>

#include "core/memory/memory_row.h"

namespace lcu {
namespace {

TEST(MemoryRows, EveryColumnOfABytes) {
  struct Case {
    std::uint8_t byte;
    const char *dec, *hex, *ascii, *binary;
  };
  for (const Case c : {Case{0x41, "065", "41", "A", "01000001"}, Case{0x0A, "010", "0A", ".", "00001010"},
                       Case{0xFF, "255", "FF", ".", "11111111"}, Case{0x20, "032", "20", " ", "00100000"},
                       Case{0x7E, "126", "7E", "~", "01111110"}, Case{0x7F, "127", "7F", ".", "01111111"}}) {
    const auto row = FormatMemoryRow(0x8000, c.byte);
    EXPECT_EQ(row.address, "8000");
    EXPECT_EQ(row.dec, c.dec);
    EXPECT_EQ(row.hex, c.hex);
    EXPECT_EQ(row.ascii, c.ascii);
    EXPECT_EQ(row.binary, c.binary);
  }
  EXPECT_EQ(FormatMemoryRow(0x000A, 0).address, "000A");
}

}  // namespace
}  // namespace lcu
