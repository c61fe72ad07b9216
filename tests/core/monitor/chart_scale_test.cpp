// A trace's scale: round steps across its range, within the labels the room takes, with the
// decimals that tell them apart.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/monitor/chart_scale.h"

namespace lcu {
namespace {

TEST(ChartScaleTest, RoundStepsAcrossTheRange) {
  const struct {
    ChartRange range;
    int most;
    std::vector<std::string> labels;
  } cases[] = {
      {{0.0, 100.0}, 6, {"0", "20", "40", "60", "80", "100"}},
      {{-3.2, 7.9}, 5, {"0", "5"}},  // a step of 2 would give six labels
      {{0.95, 1.08}, 4, {"0.95", "1.00", "1.05"}},
      {{785.0, 4230.0}, 5, {"1000", "2000", "3000", "4000"}},
      {{-0.013, 0.011}, 6, {"-0.010", "-0.005", "0.000", "0.005", "0.010"}},
      {{42.0, 42.5}, 2, {"42.0", "42.5"}},
  };
  for (const auto& c : cases) {
    const ChartScale scale = ScaleOf(c.range, c.most);
    std::vector<std::string> labels;
    for (int i = 0; i < scale.count; ++i) {
      EXPECT_GE(scale.ValueAt(i), c.range.low - 1e-9);
      EXPECT_LE(scale.ValueAt(i), c.range.high + 1e-9);
      labels.push_back(scale.Label(i));
    }
    EXPECT_EQ(labels, c.labels) << c.range.low << " to " << c.range.high;
    EXPECT_LE(scale.count, c.most);
  }
}

TEST(ChartScaleTest, NoLabelsForARangeThatIsNotOne) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (const ChartRange range : {ChartRange{1.0, 1.0}, ChartRange{2.0, 1.0}, ChartRange{nan, 1.0}, ChartRange{0.0, inf},
                                 ChartRange{-1e308, 1e308}}) {
    EXPECT_EQ(ScaleOf(range, 5).count, 0) << range.low << " to " << range.high;
  }
  EXPECT_EQ(ScaleText(-0.0001, 2), "0.00");
  EXPECT_EQ(ScaleText(-0.5, 1), "-0.5");
}

}  // namespace
}  // namespace lcu
