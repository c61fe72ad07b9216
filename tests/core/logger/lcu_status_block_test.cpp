// The status-bar panes from the LCU's status block. The off-line panes are lcu status's test.
#include <gtest/gtest.h>

#include "core/logger/lcu_status_block.h"

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
}

}  // namespace
}  // namespace lcu
