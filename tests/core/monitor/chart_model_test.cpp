// What a strip chart shows, apart from drawing: its traces, the automatic ranges' holding and
// widening, fixed ranges, the cursor's values, the pause, the span and the trace whose scale
// is shown.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/monitor/chart_model.h"
#include "support/fixed_clock.h"

namespace lcu {
namespace {

using std::chrono::milliseconds;

// Channel 70 shows its raw reading as it is; 80 in hundredths.
constexpr std::array<std::uint16_t, 2> kChannels{70, 80};

class ChartModelTest : public ::testing::Test {
 protected:
  ChartModelTest() {
    app.m_channelTable[70].SetName("GEAR");
    app.m_channelTable[80].SetName("OIL PRESS");
    app.m_channelTable[80].SetUnits("bar");
    app.m_channelTable[80].decimals = 2;
    model.SetChannels(kChannels);
    model.SetSpan(10);
  }
  /// A tick a period after the last, with one raw reading per trace.
  void Tick(std::vector<std::uint32_t> raw) {
    clock.Advance(milliseconds(200));
    model.TakeReadings(raw, clock.now);
  }
  /// Ticks a period apart whose first trace swings between low and high.
  void Swing(int ticks, std::uint32_t low, std::uint32_t high) {
    for (int i = 0; i < ticks; ++i) Tick({i % 2 == 0 ? low : high, 0});
  }
  void Missed() {
    clock.Advance(milliseconds(200));
    model.TakeMissedReadings();
  }

  ChannelModel app;
  test::FixedClock clock;
  ChartModel model{app, clock};
};

TEST_F(ChartModelTest, ARelabelKeepsThePastAndOtherChannelsStartAfresh) {
  Tick({3, 1250});
  EXPECT_EQ(model.ShownValueText(1), "12.50") << "the channel's decimals";
  model.SetCursor(model.RightEdge());
  model.Select(1);
  app.m_channelTable[70].SetName("GEAR POS");
  EXPECT_FALSE(model.SetChannels(kChannels));
  EXPECT_EQ(model.Trace(0).name, "GEAR POS");
  EXPECT_EQ(model.History().Size(), 1U);
  EXPECT_TRUE(model.Cursor() && model.Selected());

  EXPECT_TRUE(model.SetChannels(std::array<std::uint16_t, 2>{80, 70}));
  EXPECT_EQ(model.Trace(0).label, "OIL PRESS [bar]");
  EXPECT_EQ(model.History().Size(), 0U);
  EXPECT_FALSE(model.Cursor() || model.Selected());
  model.SetChannels(std::array<std::uint16_t, 1>{2000});
  EXPECT_EQ(model.Trace(0).name, "") << "beyond the channel table";
}

// Ten seconds swinging between 100 and 110 give the first range, 99.5 to 110.5 (a twentieth
// of margin); then twelve seconds of other values, and the range they leave.
TEST_F(ChartModelTest, AnAutomaticRangeHoldsWidensWithHeadroomOrIsDrawnIn) {
  const struct {
    const char* what;
    std::uint32_t low;
    std::uint32_t high;
    ChartRange range;
  } cases[] = {
      {"inside, taking at least half: holds", 102, 108, {99.5, 110.5}},
      {"above: the top widened by a quarter of the values' extent", 105, 120, {99.5, 124.875}},
      {"below: the bottom widened", 90, 105, {85.125, 110.5}},
      {"beyond both", 90, 120, {80.25, 129.75}},
      {"less than half of it: drawn in to the values", 104, 106, {103.9, 106.1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    model.SetChannels(std::array<std::uint16_t, 1>{71});
    model.SetChannels(kChannels);
    Swing(50, 100, 110);
    model.UpdateAutoRanges(model.RightEdge());
    ASSERT_NEAR(model.RangeOf(0).low, 99.5, 1e-9);
    ASSERT_NEAR(model.RangeOf(0).high, 110.5, 1e-9);
    Swing(60, c.low, c.high);
    model.UpdateAutoRanges(model.RightEdge());
    EXPECT_NEAR(model.RangeOf(0).low, c.range.low, 1e-9);
    EXPECT_NEAR(model.RangeOf(0).high, c.range.high, 1e-9);
  }
  // Another span finds the range afresh from the values it shows.
  model.SetSpan(30);
  EXPECT_NEAR(model.RangeOf(0).low, 99.5, 1e-9) << "the last 30 s hold 100 to 110 again";
}

TEST_F(ChartModelTest, AFixedRangeFollowsItsChannelAndGoesWithTheLayout) {
  Swing(50, 100, 110);
  model.UpdateAutoRanges(model.RightEdge());
  model.SetFixedRange(80, ChartRange{0.0, 5.0});
  EXPECT_EQ(model.RangeOf(1), (ChartRange{0.0, 5.0}));
  EXPECT_EQ(model.FixedRangeOf(1), (ChartRange{0.0, 5.0}));
  EXPECT_EQ(model.FixedRangeOf(0), std::nullopt);
  model.SetChannels(std::array<std::uint16_t, 2>{80, 70});
  EXPECT_EQ(model.RangeOf(0), (ChartRange{0.0, 5.0})) << "the channel's, wherever its row is";

  model.SetView(ChartView::kLanes);
  model.SetSpan(120);
  model.SetPaused(true);
  const WindowChart layout = model.Layout();
  EXPECT_EQ(layout.ranges, (std::vector<FixedRange>{{80, {0.0, 5.0}}}));

  ChartModel restored(app, clock);
  restored.SetChannels(kChannels);
  restored.ApplyLayout(layout);
  EXPECT_EQ(restored.Layout(), layout);
  restored.SetFixedRange(80, std::nullopt);
  EXPECT_EQ(restored.FixedRangeOf(1), std::nullopt);
}

// Ticks every 0.2 s: the first trace counts them (1 at 0.2 s, 2 at 0.4 s, ...).
TEST_F(ChartModelTest, TheCursorShowsTheValueOfItsTickInsideAndOutsideTheSpan) {
  for (std::uint32_t i = 1; i <= 20; ++i) Tick({i, 0});
  Missed();
  EXPECT_EQ(model.ShownValue(0), 20.0) << "no cursor: the newest read, also across a missed tick";

  const struct {
    double time;
    std::optional<double> value;
  } cases[] = {
      {1.0, 5.0},           // on a tick
      {1.1, 5.0},           // between two: the earlier one, shown until the next came
      {0.1, std::nullopt},  // before the first tick
      {4.2, std::nullopt},  // the missed tick
  };
  for (const auto& c : cases) {
    model.SetCursor(c.time);
    EXPECT_EQ(model.ShownValue(0), c.value) << c.time;
    EXPECT_FALSE(model.IsCursorOutside()) << c.time;
  }

  model.SetCursor(1.0);
  for (std::uint32_t i = 22; i <= 80; ++i) Tick({i, 0});
  EXPECT_TRUE(model.IsCursorOutside()) << "scrolled out to the left";
  EXPECT_EQ(model.ShownValue(0), 5.0) << "it keeps its time and value";
  EXPECT_EQ(model.ShownValueText(0), "5");
  model.SetCursor(std::nullopt);
  EXPECT_EQ(model.ShownValue(0), 80.0);
  EXPECT_FALSE(model.IsCursorOutside());
}

// The span shown ends at 20 s.
TEST_F(ChartModelTest, TheCursorIsPutWithinTheSpanAndStepsNoFurtherThanTheRightEdge) {
  Swing(100, 1, 2);
  const double shares[][2] = {{0.0, 10.0}, {0.25, 12.5}, {1.0, 20.0}, {-1.0, 10.0}, {2.0, 20.0}};
  for (const auto& [share, time] : shares) {
    model.SetCursorAt(share);
    EXPECT_DOUBLE_EQ(*model.Cursor(), time) << share;
  }
  model.SetCursor(std::nullopt);
  model.StepCursor(-0.2);
  EXPECT_DOUBLE_EQ(*model.Cursor(), 19.8) << "from the right edge";
  model.StepCursor(0.4);
  EXPECT_DOUBLE_EQ(*model.Cursor(), 20.0) << "not past the right edge";
}

TEST_F(ChartModelTest, APauseHoldsTheRightEdgeWhileTicksKeepComing) {
  Swing(10, 1, 2);
  const double edge = model.RightEdge();
  EXPECT_TRUE(model.SetPaused(true));
  EXPECT_FALSE(model.SetPaused(true)) << "already paused";
  Swing(10, 1, 2);
  EXPECT_EQ(model.History().Size(), 20U) << "the ticks are kept";
  EXPECT_DOUBLE_EQ(model.RightEdge(), edge);
  clock.Advance(milliseconds(5000));
  EXPECT_DOUBLE_EQ(model.RightEdge(), edge) << "also once they stop";
  EXPECT_TRUE(model.SetPaused(false));
  EXPECT_DOUBLE_EQ(model.RightEdge(), model.Now()) << "stale: the edge moves on with the time";
  Tick({1, 1});
  EXPECT_DOUBLE_EQ(model.RightEdge(), *model.History().Newest());
  EXPECT_FALSE(model.IsStale());
}

TEST_F(ChartModelTest, TheSpanIsBroughtWithinTenSecondsAndTenMinutes) {
  const std::uint32_t cases[][2] = {{0, 10}, {9, 10}, {10, 10}, {120, 120}, {600, 600}, {601, 600}, {UINT32_MAX, 600}};
  for (const auto& [asked, span] : cases) {
    model.SetSpan(asked);
    EXPECT_EQ(model.Span(), span) << asked;
  }
}

TEST_F(ChartModelTest, TheAxisShowsThePointedTraceElseThePickedElseTheFirst) {
  const struct {
    std::optional<std::size_t> picked;
    std::optional<std::size_t> pointed;
    std::optional<std::size_t> axis;
  } cases[] = {
      {std::nullopt, std::nullopt, 0},
      {1, std::nullopt, 1},
      {0, 1, 1},
      {5, std::nullopt, 0},  // beyond the traces: none picked
      {1, 7, 1},
  };
  for (const auto& c : cases) {
    model.Select(c.picked);
    model.Point(c.pointed);
    EXPECT_EQ(model.AxisTrace(), c.axis);
  }
  EXPECT_FALSE(model.Point(std::nullopt)) << "none pointed at already";
  model.SetChannels({});
  EXPECT_EQ(model.AxisTrace(), std::nullopt);
}

}  // namespace
}  // namespace lcu
