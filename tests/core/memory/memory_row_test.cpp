// The memory window's rows: every column of a byte, and rows that stop at the top.
#include <gtest/gtest.h>

#include "core/memory/memory_row.h"

namespace lcu {
namespace {

TEST(MemoryRows, EveryColumnOfABytes) {
  struct Case { std::uint8_t byte; const char *dec, *hex, *ascii, *binary; };
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

TEST(MemoryRows, HexToBinaryStopsAtTheFirstOtherCharacter) {
  EXPECT_EQ(HexToBinary("1F"), "00011111");
  EXPECT_EQ(HexToBinary("A0f"), "10100000");
  EXPECT_EQ(HexToBinary(""), "");
}

TEST(MemoryRows, RowsNeverPassTheTopOfTheAddressSpace) {
  EXPECT_EQ(MemoryRowCount(0x8000, 16), 16);
  EXPECT_EQ(MemoryRowCount(0xFFF8, 16), 8);
  EXPECT_EQ(MemoryRowCount(0xFFFF, 64), 1);
  EXPECT_EQ(MemoryRowCount(0x0000, 64), 64);
}

}  // namespace
}  // namespace lcu
