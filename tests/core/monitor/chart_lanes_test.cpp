// The lanes of a chart with one channel per lane: they fill the plot in order, equal within a
// pixel, apart by the spacing, and never vanish when the plot is short.
#include <gtest/gtest.h>

#include <vector>

#include "core/monitor/chart_lanes.h"

namespace lcu {
namespace {

TEST(ChartLanesTest, LanesFillThePlotInOrder) {
  const struct {
    int top, height;
    std::size_t lanes;
    int spacing;
  } cases[] = {{4, 271, 11, 3}, {0, 100, 1, 3}, {10, 500, 32, 2}, {0, 20, 32, 2}, {0, 7, 3, 5}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.height << " rows, " << c.lanes << " lanes");
    const std::vector<ChartLane> lanes = LayOutLanes(c.top, c.height, c.lanes, c.spacing);
    ASSERT_EQ(lanes.size(), c.lanes);
    EXPECT_EQ(lanes.front().top, c.top);
    EXPECT_LE(lanes.back().Bottom(), c.top + c.height - 1);
    const bool room = c.height >= static_cast<int>(c.lanes) * (1 + c.spacing);
    if (room) {
      EXPECT_EQ(lanes.back().Bottom(), c.top + c.height - 1) << "the last lane reaches the bottom";
    }
    int least = lanes.front().height;
    int most = least;
    for (std::size_t i = 0; i < lanes.size(); ++i) {
      EXPECT_GE(lanes[i].height, 1);
      least = std::min(least, lanes[i].height);
      most = std::max(most, lanes[i].height);
      if (i == 0) continue;
      EXPECT_GE(lanes[i].top, lanes[i - 1].top) << i;
      if (room) {
        EXPECT_EQ(lanes[i].top - lanes[i - 1].Bottom() - 1, c.spacing) << i;
      }
    }
    EXPECT_LE(most - least, 1) << "equal within a pixel";
  }
  EXPECT_TRUE(LayOutLanes(0, 100, 0, 2).empty());
}

}  // namespace
}  // namespace lcu
