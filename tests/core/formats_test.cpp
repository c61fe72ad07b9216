// Small text formats shared by the windows and the command line: status-bar panes, memory
// rows and the Windows file-time count.
#include <gtest/gtest.h>

#include "core/host/clock.h"
#include "core/logger/lcu_status_block.h"
#include "core/memory/memory_row.h"

namespace lcu {
namespace {

TEST(StatusPanes, FiguresFromTheStatusBlock) {
  std::array<std::uint8_t, 64> b{};
  b[4] = 17;                   // LCU number
  b[6] = 125;                  // clock minutes
  b[10] = 0xFF, b[11] = 0x03;  // memory figure 1023
  const auto t = OnlinePaneTexts(LcuStatusBlock(b));
  EXPECT_EQ(t.link, "ON LINE");
  EXPECT_EQ(t.lcu, "LCU# 17");
  EXPECT_EQ(t.memory, "MEM: 255");
  EXPECT_EQ(t.clock, "CLOCK: 2:5");
  const auto off = OfflinePaneTexts();
  EXPECT_EQ(off.link, "OFF LINE");
  EXPECT_TRUE(off.lcu.empty() && off.memory.empty() && off.clock.empty());
}

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

TEST(FileTime, CountsHundredNanosecondsSince1601) {
  EXPECT_EQ(FileTimeFromLocal({1601, 1, 1, 0, 0, 0, 0}), 0u);
  EXPECT_EQ(FileTimeFromLocal({1970, 1, 1, 0, 0, 0, 0}), 116444736000000000ull);
  EXPECT_EQ(FileTimeFromLocal({2000, 3, 1, 12, 30, 15, 250}), 125963874152500000ull);
  const LocalTime t{2026, 12, 4, 13, 52, 44, 999};
  const LocalTime back = LocalFromFileTime(FileTimeFromLocal(t));
  EXPECT_EQ(back.year, 2026);
  EXPECT_EQ(back.month, 12);
  EXPECT_EQ(back.day, 4);
  EXPECT_EQ(back.hour, 13);
  EXPECT_EQ(back.minute, 52);
  EXPECT_EQ(back.second, 44);
  EXPECT_EQ(back.millisecond, 999);
}

}  // namespace
}  // namespace lcu
