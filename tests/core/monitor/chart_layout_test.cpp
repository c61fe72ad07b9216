// The chart file beside a settings file: written and read back; a file this program did not
// write is damaged, and its windows come back as far as their records are sound.
#include <gtest/gtest.h>

#include <bit>
#include <limits>
#include <vector>

#include "core/monitor/chart_layout.h"
#include "core/util/little_endian.h"

namespace lcu {
namespace {

ChartLayout Sample() {
  ChartLayout layout;
  layout.windows.push_back({true, false, 350, 120, {{5, {0.0, 10.0}}, {1000, {-2.5, 2.5}}}});
  layout.windows.push_back({});
  layout.windows.push_back({false, true, 1000, 600, {}});
  return layout;
}

TEST(ChartLayoutTest, WritesLittleEndianAndReadsBack) {
  const std::vector<std::uint8_t> bytes = WriteChartLayout(Sample());
  ASSERT_EQ(bytes.size(), 12U + 3 * 12 + 2 * 18);
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 12),
            (std::vector<std::uint8_t>{'L', 'C', 'H', 'T', 1, 0, 0, 0, 3, 0, 0, 0}));
  // The first window: shown, not paused, 350 thousandths, 120 s, two ranges.
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 12, bytes.begin() + 24),
            (std::vector<std::uint8_t>{1, 0, 0x5E, 0x01, 120, 0, 0, 0, 2, 0, 0, 0}));
  EXPECT_EQ(le::U16(bytes, 42), 1000);
  EXPECT_EQ(std::bit_cast<double>(le::U64(bytes, 44)), -2.5);

  const ChartFileContents read = ReadChartLayout(bytes);
  EXPECT_FALSE(read.Damaged()) << read.damage;
  EXPECT_EQ(read.layout, Sample());

  // More windows than a settings file holds are not written.
  ChartLayout many;
  many.windows.resize(40);
  const ChartFileContents most = ReadChartLayout(WriteChartLayout(many));
  EXPECT_FALSE(most.Damaged()) << most.damage;
  EXPECT_EQ(most.layout.windows.size(), 32U);
}

// Each fault is named with the window it is in; the windows before it, and after it when the
// next record can still be found, keep their charts, the faulty one gets a new window's.
TEST(ChartLayoutTest, ADamagedFileGivesTheSoundWindowsAndSaysWhatIsWrong) {
  const std::vector<std::uint8_t> good = WriteChartLayout(Sample());
  const auto changed = [&good](std::size_t offset, std::uint8_t value) {
    std::vector<std::uint8_t> bytes = good;
    bytes[offset] = value;
    return bytes;
  };
  const auto doubleAt = [&good](std::size_t offset, double value) {
    std::vector<std::uint8_t> bytes = good;
    le::PutU64(bytes, offset, std::bit_cast<std::uint64_t>(value));
    return bytes;
  };
  const auto cut = [&good](std::size_t length) {
    return std::vector<std::uint8_t>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length));
  };
  std::vector<std::uint8_t> trailing = good;
  trailing.push_back(0);
  // A file of any size is read only as far as a chart file can go.
  std::vector<std::uint8_t> huge = good;
  huge.resize(kChartBytesToRead + 4096);

  const WindowChart first = Sample().windows[0];
  const WindowChart fresh;
  const WindowChart third = Sample().windows[2];
  const struct {
    std::vector<std::uint8_t> bytes;
    const char* damage;
    std::vector<WindowChart> windows;
  } cases[] = {
      {{}, "not a chart file", {}},
      {changed(0, 'X'), "not a chart file", {}},
      {changed(4, 2), "a chart file of a newer version (2)", {}},
      {changed(4, 0), "a chart file of an unknown version (0)", {}},
      {changed(8, 33), "more than 32 windows", {}},
      {changed(8, 4), "window 4: the file ends inside its record", {first, fresh, third}},
      {cut(good.size() - 1), "window 3: the file ends inside its record", {first, fresh}},
      {cut(12 + 12 + 36 + 5), "window 2: the file ends inside its record", {first}},
      {changed(12, 2), "window 1: a flag that is neither 0 nor 1", {fresh, fresh, third}},
      {changed(15, 0x04), "window 1: a list share above 1000", {fresh, fresh, third}},
      {changed(16, 9), "window 1: a span outside 10 to 600 seconds", {fresh, fresh, third}},
      {changed(20, 33), "window 1: more than 32 fixed ranges", {}},
      {changed(25, 0x04), "window 1: a fixed range of a channel above 1023", {fresh, fresh, third}},
      {doubleAt(26, 10.0), "window 1: a fixed range whose low is not below its high", {fresh, fresh, third}},
      {doubleAt(34, std::numeric_limits<double>::quiet_NaN()),
       "window 1: a fixed range whose low is not below its high",
       {fresh, fresh, third}},
      {changed(12 + 12 + 36 + 12 + 1, 7), "window 3: a flag that is neither 0 nor 1", {first, fresh, fresh}},
      {trailing, "bytes after the last window", Sample().windows},
      {huge, "bytes after the last window", Sample().windows},
  };
  for (const auto& c : cases) {
    const ChartFileContents read = ReadChartLayout(c.bytes);
    EXPECT_EQ(read.damage, c.damage);
    EXPECT_EQ(read.layout.windows, c.windows) << c.damage;
  }
}

// The view takes the first byte that the records kept reserved and earlier readers never looked
// at: a file with lanes differs from the same file with the overlay in that byte alone, and a
// view of a newer program is read as the overlay, without calling the file damaged.
TEST(ChartLayoutTest, TheViewGoesInTheReservedByteOfItsWindowsRecord) {
  ChartLayout lanes = Sample();
  lanes.windows[0].view = ChartView::kLanes;
  lanes.windows[2].view = ChartView::kLanes;
  const std::vector<std::uint8_t> overlay = WriteChartLayout(Sample());
  std::vector<std::uint8_t> bytes = WriteChartLayout(lanes);
  ASSERT_EQ(bytes.size(), overlay.size());
  const std::size_t third = 12 + 12 + 2 * 18 + 12;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const bool view = i == 12 + 10 || i == third + 10;
    EXPECT_EQ(bytes[i], view ? 1 : overlay[i]) << i;
  }
  ChartFileContents read = ReadChartLayout(bytes);
  EXPECT_FALSE(read.Damaged()) << read.damage;
  EXPECT_EQ(read.layout, lanes);

  bytes[12 + 10] = 7;
  read = ReadChartLayout(bytes);
  EXPECT_FALSE(read.Damaged()) << read.damage;
  EXPECT_EQ(read.layout.windows[0].view, ChartView::kOverlay);
  EXPECT_EQ(read.layout.windows[0].ranges, lanes.windows[0].ranges);
}

}  // namespace
}  // namespace lcu
