// The texts and group pictures of a monitor row.
#include <gtest/gtest.h>

#include <cmath>

#include "core/monitor/monitor_row.h"

namespace lcu {
namespace {

TEST(MonitorRowTest, CellTexts) {
  struct ValueCase {
    double value;
    int decimals;
    const char* text;
  };
  const ValueCase values[] = {
      {9029.0, 0, "9029"},
      {3.14159, 2, "3.14"},
      {1.5, -1, "1.500000"},
      {-0.04, 1, "0.0"},
      {-0.0, 2, "0.00"},
      {-0.0, 0, "0"},
      {-0.06, 1, "-0.1"},
      {2.5, 0, "2"},
      {4294967295.0, 0, "4294967295"},
      {0.125, 40, "0.125000000"},
      {1.0, 32767, "1.000000000"},
      {HUGE_VAL, 2, "inf"},
      {std::nan(""), 2, "#"},
      {-std::nan(""), 0, "#"},
  };
  for (const ValueCase& v : values) EXPECT_EQ(FormatValueCell(v.value, v.decimals), v.text);
  // Longer than any short buffer.
  const std::string huge = FormatValueCell(-1e300, 1);
  EXPECT_EQ(huge.size(), 304u);
  EXPECT_EQ(huge.substr(0, 5), "-1000");
  EXPECT_EQ(huge.substr(huge.size() - 2), ".0");

  EXPECT_EQ(FormatRawCell(0x00012345), "9029");
  EXPECT_EQ(FormatRawCell(0xFFFFFFFF), "65535");
  EXPECT_EQ(FormatIdCell(5), "005");
  EXPECT_EQ(FormatIdCell(1023), "1023");
}

TEST(MonitorRowTest, GroupPictures) {
  const std::pair<int, int> cases[] = {{0, 0},   {63, 0},  {64, 1},  {111, 1}, {112, 3}, {127, 3}, {128, 2}, {191, 2},
                                       {192, 4}, {255, 4}, {256, 5}, {287, 5}, {288, 6}, {351, 6}, {352, 0}, {1023, 0}};
  for (const auto& [channel, image] : cases) EXPECT_EQ(GetChannelImage(channel), image) << channel;
}

}  // namespace
}  // namespace lcu
