// The chart file beside a settings file: written and read back, and refused when it is not
// one this program wrote.
#include <gtest/gtest.h>

#include <bit>
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

  std::string reason;
  const std::optional<ChartLayout> read = ReadChartLayout(bytes, reason);
  ASSERT_TRUE(read) << reason;
  EXPECT_EQ(*read, Sample());

  // More windows than a settings file holds are not written.
  ChartLayout many;
  many.windows.resize(40);
  EXPECT_EQ(ReadChartLayout(WriteChartLayout(many), reason)->windows.size(), 32U);
}

TEST(ChartLayoutTest, RefusesWhatItCannotHaveWritten) {
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
  std::vector<std::uint8_t> trailing = good;
  trailing.push_back(0);
  const struct {
    std::vector<std::uint8_t> bytes;
    const char* reason;
  } cases[] = {
      {{}, "not a chart file"},
      {changed(0, 'X'), "not a chart file"},
      {changed(4, 2), "chart file of an unknown version"},
      {changed(8, 33), "more than 32 windows"},
      {changed(8, 4), "the file ends inside a window's record"},
      {std::vector<std::uint8_t>(good.begin(), good.end() - 1), "the file ends inside a window's record"},
      {changed(12, 2), "a flag that is neither 0 nor 1"},
      {changed(15, 0x04), "a list share above 1000"},
      {changed(16, 9), "a span outside 10 to 600 seconds"},
      {changed(20, 33), "more than 32 fixed ranges in a window"},
      {changed(25, 0x04), "a fixed range of a channel above 1023"},
      {doubleAt(26, 10.0), "a fixed range whose low is not below its high"},
      {doubleAt(34, std::numeric_limits<double>::quiet_NaN()), "a fixed range whose low is not below its high"},
      {trailing, "bytes after the last window"},
  };
  for (const auto& c : cases) {
    std::string reason;
    EXPECT_FALSE(ReadChartLayout(c.bytes, reason)) << c.reason;
    EXPECT_EQ(reason, c.reason);
  }
}

}  // namespace
}  // namespace lcu
