// The legend's fit: one line per channel while the name keeps readable room beside its value,
// two when it would not; as many rows as the height takes, scrolled within the channels.
#include <gtest/gtest.h>

#include "core/monitor/chart_legend_layout.h"

namespace lcu {
namespace {

TEST(ChartLegendLayoutTest, NarrowRoomGivesTwoLinesAndShortRoomScrolls) {
  const struct {
    const char* what;
    LegendRoom room;
    std::size_t rows;
    std::size_t wanted;
    int linesPerRow;
    std::size_t shown;
    std::size_t first;
  } cases[] = {
      {"wide and tall", {260, 20, 110, 60, 90}, 11, 0, 1, 20, 0},
      {"narrow: the name would be cut to a few letters", {150, 15, 110, 60, 100}, 11, 0, 2, 7, 0},
      {"short names fit a narrow legend", {150, 15, 40, 60, 100}, 11, 0, 1, 15, 0},
      {"scrolled to the end", {150, 15, 110, 60, 100}, 11, 4, 2, 7, 4},
      {"scrolled past the end", {150, 15, 110, 60, 100}, 11, 9, 2, 7, 4},
      {"scrolled, but everything fits", {260, 20, 110, 60, 90}, 11, 3, 1, 20, 0},
      {"shorter than a row", {150, 1, 110, 60, 100}, 11, 0, 2, 1, 0},
      {"no channels", {150, 10, 0, 60, 100}, 0, 2, 1, 10, 0},
  };
  for (const auto& c : cases) {
    const ChartLegendLayout layout = LayOutLegend(c.room, c.rows, c.wanted);
    EXPECT_EQ(layout.linesPerRow, c.linesPerRow) << c.what;
    EXPECT_EQ(layout.rowsShown, c.shown) << c.what;
    EXPECT_EQ(layout.firstRow, c.first) << c.what;
    EXPECT_EQ(layout.Scrolls(c.rows), c.rows > c.shown) << c.what;
  }
}

}  // namespace
}  // namespace lcu
