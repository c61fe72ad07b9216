// The strip chart's rings: wrap and memory bound, the visible window, automatic scaling and
// the cursor's lookup.
#include <gtest/gtest.h>

#include <vector>

#include "core/monitor/chart_history.h"

namespace lcu {
namespace {

// Ticks every 0.2 s from t = 0; trace 0 counts the ticks, trace 1 is ten times that.
void AddTicks(ChartHistory& history, int from, int to) {
  for (int tick = from; tick < to; ++tick) {
    const std::vector<double> values{static_cast<double>(tick), 10.0 * tick};
    history.Add(0.2 * tick, values);
  }
}

TEST(ChartHistoryTest, RingKeepsTheNewestTicksInOrderWithinAFixedSize) {
  ChartHistory history(5);
  history.SetTraces(2);
  const std::size_t bytes = history.MemoryBytes();
  AddTicks(history, 0, 3);
  EXPECT_EQ(history.Size(), 3U);
  AddTicks(history, 3, 12);
  ASSERT_EQ(history.Size(), 5U);
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_DOUBLE_EQ(history.TimeAt(i), 0.2 * static_cast<double>(7 + i));
    EXPECT_EQ(history.ValueAt(1, i), 10.0 * static_cast<double>(7 + i));
  }
  EXPECT_EQ(history.MemoryBytes(), bytes) << "memory does not grow with time";
  EXPECT_DOUBLE_EQ(*history.Newest(), 0.2 * 11);

  // A tick from the past would break the order the lookups rely on.
  history.Add(0.0, std::vector<double>{99.0, 99.0});
  EXPECT_EQ(history.ValueAt(0, 4), 11.0);

  // Full-size rings for the longest span at 5 Hz hold a window's traces in well under a MiB.
  ChartHistory full;
  full.SetTraces(100);
  EXPECT_EQ(full.Traces(), kMaxChartTraces);
  EXPECT_GE(static_cast<double>(full.Capacity()), kLongestChartSpan * 5);
  EXPECT_LT(full.MemoryBytes(), 1U << 20);
}

TEST(ChartHistoryTest, GapsAndMissingValuesHaveNoValue) {
  ChartHistory history(10);
  history.SetTraces(3);
  history.Add(0.0, std::vector<double>{1.0, 2.0});  // one value short
  history.AddGap(0.2);
  EXPECT_EQ(history.ValueAt(1, 0), 2.0);
  EXPECT_EQ(history.ValueAt(2, 0), std::nullopt);
  EXPECT_EQ(history.ValueAt(0, 1), std::nullopt);
  EXPECT_EQ(history.ValueAt(3, 0), std::nullopt) << "no such trace";
  history.SetTraces(1);
  EXPECT_EQ(history.Size(), 0U) << "new channels start a new history";
}

TEST(ChartHistoryTest, WindowTakesTheTicksInsideAndOneEachSide) {
  ChartHistory history(100);
  history.SetTraces(1);
  AddTicks(history, 0, 50);  // t = 0 .. 9.8
  const struct {
    double from, to;
    std::size_t first, last;
  } cases[] = {
      {2.0, 4.0, 9, 22},     // 2.0 (tick 10) .. 4.0 (tick 20), and ticks 9 and 21
      {-10.0, 0.0, 0, 2},    // before the first tick: the first, and the next
      {9.0, 20.0, 44, 50},   // past the newest: up to the newest
      {20.0, 30.0, 49, 50},  // all in the future: the newest alone, to draw up to the edge
  };
  for (const auto& c : cases) {
    const ChartHistory::Span span = history.Window(c.from, c.to);
    EXPECT_EQ(span.first, c.first) << c.from;
    EXPECT_EQ(span.last, c.last) << c.from;
  }
}

TEST(ChartHistoryTest, AutoRangeFollowsTheVisibleValuesWithAMargin) {
  ChartHistory history(100);
  history.SetTraces(2);
  AddTicks(history, 0, 50);
  // Ticks 9 to 21 are drawn for 2 s .. 4 s: values 9 to 21, a twentieth of 12 each side.
  const ChartRange range = history.AutoRange(0, 2.0, 4.0);
  EXPECT_NEAR(range.low, 8.4, 1e-9);
  EXPECT_NEAR(range.high, 21.6, 1e-9);
  EXPECT_NEAR(range.Fraction(8.4), 0.0, 1e-9);
  EXPECT_NEAR(range.Fraction(15.0), 0.5, 1e-9);

  ChartHistory flat(10);
  flat.SetTraces(2);
  flat.Add(0.0, std::vector<double>{50.0, 0.0});
  flat.Add(0.2, std::vector<double>{50.0, 0.0});
  EXPECT_EQ(flat.AutoRange(0, 0.0, 1.0), (ChartRange{45.0, 55.0}));
  EXPECT_EQ(flat.AutoRange(1, 0.0, 1.0), (ChartRange{-1.0, 1.0}));
  ChartHistory empty(10);
  empty.SetTraces(1);
  empty.AddGap(0.0);
  EXPECT_EQ(empty.AutoRange(0, 0.0, 1.0), (ChartRange{0.0, 1.0}));
}

TEST(ChartHistoryTest, CursorShowsTheTickAtOrBeforeItsTime) {
  ChartHistory history(100);
  history.SetTraces(1);
  AddTicks(history, 0, 10);  // t = 0 .. 1.8
  history.AddGap(2.0);
  history.Add(2.2, std::vector<double>{11.0});
  const struct {
    double time;
    std::optional<double> at;
    std::optional<double> value;
  } cases[] = {
      {-0.1, std::nullopt, std::nullopt},  // before the first tick
      {0.0, 0.0, 0.0},
      {0.5, 0.4, 2.0},  // between ticks: the last one before
      {1.8, 1.8, 9.0},
      {2.1, std::nullopt, std::nullopt},  // in the gap
      {2.5, 2.2, 11.0},                   // just after the newest
      {5.0, std::nullopt, std::nullopt},  // long after the newest: nothing is known
  };
  for (const auto& c : cases) {
    const std::optional<ChartSample> sample = history.ValueUnder(0, c.time);
    ASSERT_EQ(sample.has_value(), c.value.has_value()) << c.time;
    if (!sample) continue;
    EXPECT_NEAR(sample->time, *c.at, 1e-9) << c.time;
    EXPECT_EQ(sample->value, *c.value) << c.time;
  }
}

// No readings for a while (a download holding the link publishes nothing) breaks every trace
// one tick after the last reading; ticks that follow one another closely stay joined.
TEST(ChartHistoryTest, APauseBetweenTicksIsAGapAndMakesTheValuesStale) {
  ChartHistory history(100);
  history.SetTraces(2);
  EXPECT_FALSE(history.IsStale(100.0)) << "nothing read yet: nothing to call old";
  AddTicks(history, 0, 5);                           // t = 0 .. 0.8
  history.Add(1.3, std::vector<double>{5.0, 50.0});  // late, but within the gap's time
  ASSERT_EQ(history.Size(), 6U);
  history.Add(6.0, std::vector<double>{6.0, 60.0});  // after a pause of 4.7 s
  ASSERT_EQ(history.Size(), 8U);
  EXPECT_NEAR(history.TimeAt(6), 1.5, 1e-9) << "the gap is a tick's time after the last reading";
  EXPECT_EQ(history.ValueAt(0, 6), std::nullopt);
  EXPECT_EQ(history.ValueAt(1, 6), std::nullopt);
  EXPECT_EQ(history.ValueAt(0, 7), 6.0);
  EXPECT_FALSE(history.ValueUnder(0, 4.0).has_value()) << "the cursor in the pause shows nothing";
  EXPECT_EQ(history.ValueUnder(0, 1.4)->value, 5.0) << "the last reading holds for a tick";

  // Missed ticks are gaps of their own: no second gap is added before the next reading.
  history.AddGap(6.2);
  history.AddGap(9.0);
  history.Add(9.2, std::vector<double>{7.0, 70.0});
  EXPECT_EQ(history.Size(), 11U);

  const struct {
    double now;
    bool stale;
  } cases[] = {{9.2, false}, {9.2 + kChartGapSeconds, false}, {9.2 + kChartGapSeconds + 0.01, true}, {100.0, true}};
  for (const auto& c : cases) EXPECT_EQ(history.IsStale(c.now), c.stale) << c.now;
  history.AddGap(20.0);
  history.AddGap(20.0);
  EXPECT_EQ(history.NewestReading(), 9.2) << "a gap is no reading";
  EXPECT_EQ(history.NewestValue(1), 70.0) << "the last value read holds across the gaps";
  history.SetTraces(2);
  EXPECT_FALSE(history.NewestReading().has_value());
  EXPECT_FALSE(history.NewestValue(0).has_value());

  // Ticks of the same time: the newest of them. Once the ring has moved past it, nothing.
  ChartHistory ring(3);
  ring.SetTraces(1);
  ring.Add(1.0, std::vector<double>{1.0});
  ring.Add(1.0, std::vector<double>{2.0});
  EXPECT_EQ(ring.NewestValue(0), 2.0);
  ring.AddGap(1.1);
  ring.AddGap(1.2);
  EXPECT_EQ(ring.NewestValue(0), 2.0);
  ring.AddGap(1.3);
  EXPECT_FALSE(ring.NewestValue(0).has_value());
}

}  // namespace
}  // namespace lcu
