#include "core/monitor/chart_layout.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "core/app/app_state.h"
#include "core/monitor/settings_image.h"
#include "core/util/little_endian.h"

namespace lcu {

namespace {

constexpr std::uint8_t kMagic[4] = {'L', 'C', 'H', 'T'};
constexpr std::size_t kHeaderSize = 12;
constexpr std::size_t kRecordSize = 12;
constexpr std::size_t kRangeSize = 18;

constexpr std::string_view kNotAChartFile = "not a chart file";
constexpr std::string_view kUnknownVersion = "chart file of an unknown version";
constexpr std::string_view kTooManyWindows = "more than 32 windows";
constexpr std::string_view kTooManyRanges = "more than 32 fixed ranges in a window";
constexpr std::string_view kCutShort = "the file ends inside a window's record";
constexpr std::string_view kBadFlag = "a flag that is neither 0 nor 1";
constexpr std::string_view kBadShare = "a list share above 1000";
constexpr std::string_view kBadSpan = "a span outside 10 to 600 seconds";
constexpr std::string_view kBadChannel = "a fixed range of a channel above 1023";
constexpr std::string_view kBadRange = "a fixed range whose low is not below its high";
constexpr std::string_view kTrailingBytes = "bytes after the last window";

double F64(std::span<const std::uint8_t> b, std::size_t off) { return std::bit_cast<double>(le::U64(b, off)); }

std::uint8_t Flag(bool value) { return value ? 1 : 0; }

}  // namespace

std::vector<std::uint8_t> WriteChartLayout(const ChartLayout& layout) {
  const std::size_t windows = std::min(layout.windows.size(), kMaxMonitorWindows);
  std::size_t size = kHeaderSize;
  for (std::size_t w = 0; w < windows; ++w) {
    size += kRecordSize + std::min(layout.windows[w].ranges.size(), kMaxChartTraces) * kRangeSize;
  }
  std::vector<std::uint8_t> bytes(size);
  const std::span<std::uint8_t> out(bytes);
  std::copy(std::begin(kMagic), std::end(kMagic), bytes.begin());
  le::PutU32(out, 4, kChartLayoutVersion);
  le::PutU32(out, 8, static_cast<std::uint32_t>(windows));
  std::size_t at = kHeaderSize;
  for (std::size_t w = 0; w < windows; ++w) {
    const WindowChart& chart = layout.windows[w];
    const std::size_t ranges = std::min(chart.ranges.size(), kMaxChartTraces);
    le::PutU8(out, at, Flag(chart.shown));
    le::PutU8(out, at + 1, Flag(chart.paused));
    le::PutU16(out, at + 2, chart.listShare);
    le::PutU32(out, at + 4, chart.spanSeconds);
    le::PutU16(out, at + 8, static_cast<std::uint16_t>(ranges));
    at += kRecordSize;
    for (std::size_t r = 0; r < ranges; ++r) {
      const FixedRange& fixed = chart.ranges[r];
      le::PutU16(out, at, fixed.channel);
      le::PutU64(out, at + 2, std::bit_cast<std::uint64_t>(fixed.range.low));
      le::PutU64(out, at + 10, std::bit_cast<std::uint64_t>(fixed.range.high));
      at += kRangeSize;
    }
  }
  return bytes;
}

std::optional<ChartLayout> ReadChartLayout(std::span<const std::uint8_t> bytes, std::string& reason) {
  const auto refuse = [&reason](std::string_view why) {
    reason = why;
    return std::nullopt;
  };
  if (bytes.size() < kHeaderSize || !std::equal(std::begin(kMagic), std::end(kMagic), bytes.begin())) {
    return refuse(kNotAChartFile);
  }
  if (le::U32(bytes, 4) != kChartLayoutVersion) return refuse(kUnknownVersion);
  const std::uint32_t windows = le::U32(bytes, 8);
  if (windows > kMaxMonitorWindows) return refuse(kTooManyWindows);
  ChartLayout layout;
  std::size_t at = kHeaderSize;
  for (std::uint32_t w = 0; w < windows; ++w) {
    if (bytes.size() - at < kRecordSize) return refuse(kCutShort);
    WindowChart chart;
    const std::uint8_t shown = le::U8(bytes, at);
    const std::uint8_t paused = le::U8(bytes, at + 1);
    if (shown > 1 || paused > 1) return refuse(kBadFlag);
    chart.shown = shown == 1;
    chart.paused = paused == 1;
    chart.listShare = le::U16(bytes, at + 2);
    if (chart.listShare > kWholeListShare) return refuse(kBadShare);
    chart.spanSeconds = le::U32(bytes, at + 4);
    if (chart.spanSeconds < kShortestChartSpan || chart.spanSeconds > kLongestChartSpan) return refuse(kBadSpan);
    const std::uint16_t ranges = le::U16(bytes, at + 8);
    if (ranges > kMaxChartTraces) return refuse(kTooManyRanges);
    at += kRecordSize;
    if ((bytes.size() - at) / kRangeSize < ranges) return refuse(kCutShort);
    for (std::uint16_t r = 0; r < ranges; ++r) {
      FixedRange fixed;
      fixed.channel = le::U16(bytes, at);
      fixed.range = {F64(bytes, at + 2), F64(bytes, at + 10)};
      if (fixed.channel >= kChannelTableSize) return refuse(kBadChannel);
      if (!std::isfinite(fixed.range.low) || !std::isfinite(fixed.range.high) || !(fixed.range.low < fixed.range.high)) {
        return refuse(kBadRange);
      }
      chart.ranges.push_back(fixed);
      at += kRangeSize;
    }
    layout.windows.push_back(std::move(chart));
  }
  if (at != bytes.size()) return refuse(kTrailingBytes);
  return layout;
}

}  // namespace lcu
