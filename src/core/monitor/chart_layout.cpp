#include "core/monitor/chart_layout.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "core/channels/channel_model.h"
#include "core/monitor/settings_image.h"
#include "core/util/little_endian.h"

namespace lcu {

namespace {

constexpr std::uint8_t kMagic[4] = {'L', 'C', 'H', 'T'};
constexpr std::size_t kHeaderSize = 12;
constexpr std::size_t kRecordSize = 12;
constexpr std::size_t kRangeSize = 18;

constexpr std::string_view kNotAChartFile = "not a chart file";
constexpr std::string_view kTooManyWindows = "more than 32 windows";
constexpr std::string_view kTooManyRanges = "more than 32 fixed ranges";
constexpr std::string_view kCutShort = "the file ends inside its record";
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
    le::PutU8(out, at + 10, static_cast<std::uint8_t>(chart.view));
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

ChartFileContents ReadChartLayout(std::span<const std::uint8_t> firstBytes) {
  const std::span<const std::uint8_t> bytes = firstBytes.first(std::min(firstBytes.size(), kChartBytesToRead));
  ChartFileContents contents;
  const auto damaged = [&contents](std::string why) {
    if (contents.damage.empty()) contents.damage = std::move(why);
  };
  const auto refused = [&](std::string why) {
    damaged(std::move(why));
    return contents;
  };
  if (bytes.size() < kHeaderSize || !std::equal(std::begin(kMagic), std::end(kMagic), bytes.begin())) {
    return refused(std::string(kNotAChartFile));
  }
  const std::uint32_t version = le::U32(bytes, 4);
  if (version > kChartLayoutVersion)
    return refused("a chart file of a newer version (" + std::to_string(version) + ")");
  if (version != kChartLayoutVersion)
    return refused("a chart file of an unknown version (" + std::to_string(version) + ")");
  const std::uint32_t windows = le::U32(bytes, 8);
  if (windows > kMaxMonitorWindows) return refused(std::string(kTooManyWindows));
  std::size_t at = kHeaderSize;
  for (std::uint32_t w = 0; w < windows; ++w) {
    const std::string window = "window " + std::to_string(w + 1) + ": ";
    if (bytes.size() - at < kRecordSize) return refused(window + std::string(kCutShort));
    const std::uint8_t shown = le::U8(bytes, at);
    const std::uint8_t paused = le::U8(bytes, at + 1);
    WindowChart chart;
    chart.shown = shown == 1;
    chart.paused = paused == 1;
    chart.listShare = le::U16(bytes, at + 2);
    chart.spanSeconds = le::U32(bytes, at + 4);
    const std::uint16_t ranges = le::U16(bytes, at + 8);
    // A newer program's view falls back to the overlay, which shows every channel too.
    chart.view = le::U8(bytes, at + 10) == static_cast<std::uint8_t>(ChartView::kLanes) ? ChartView::kLanes
                                                                                        : ChartView::kOverlay;
    // Without its number of ranges the next record cannot be found.
    if (ranges > kMaxChartTraces) return refused(window + std::string(kTooManyRanges));
    at += kRecordSize;
    if ((bytes.size() - at) / kRangeSize < ranges) return refused(window + std::string(kCutShort));
    std::string_view fault;
    if (shown > 1 || paused > 1)
      fault = kBadFlag;
    else if (chart.listShare > kWholeListShare)
      fault = kBadShare;
    else if (chart.spanSeconds < kShortestChartSpan || chart.spanSeconds > kLongestChartSpan)
      fault = kBadSpan;
    for (std::uint16_t r = 0; r < ranges; ++r) {
      FixedRange fixed;
      fixed.channel = le::U16(bytes, at);
      fixed.range = {F64(bytes, at + 2), F64(bytes, at + 10)};
      at += kRangeSize;
      if (!fault.empty()) continue;
      if (fixed.channel >= kChannelTableSize)
        fault = kBadChannel;
      else if (!std::isfinite(fixed.range.low) || !std::isfinite(fixed.range.high) ||
               !(fixed.range.low < fixed.range.high))
        fault = kBadRange;
      else
        chart.ranges.push_back(fixed);
    }
    // A window whose record is not sound shows its list alone; the records after it still count.
    if (!fault.empty()) {
      damaged(window + std::string(fault));
      chart = WindowChart{};
    }
    contents.layout.windows.push_back(std::move(chart));
  }
  if (at != bytes.size()) damaged(std::string(kTrailingBytes));
  return contents;
}

}  // namespace lcu
