// ChartLayout: how the monitor windows of a settings file show their strip charts, kept in a
// small file of its own beside the settings file ("<settings file>.chart"), so that the
// settings file keeps its fixed layout and older programs still read it. Little-endian:
//
//   0  4  "LCHT"
//   4  4  version, 1
//   8  4  window count, 0 to 32: one record per window record of the settings file, in order
//  12     the records, each:
//         0  1  chart shown (0 or 1)
//         1  1  paused (0 or 1)
//         2  2  the list's share of the window's height, in thousandths (0 to 1000)
//         4  4  the span shown, in seconds (10 to 600)
//         8  2  fixed ranges that follow (0 to 32)
//        10  1  the view: 0 the traces over one another, 1 a lane per channel; files of
//               before the choice have 0 here, and their readers look at neither byte
//        11  1  reserved, 0
//        12     the fixed ranges, each 18 bytes: channel (u16, below 1024), low and high
//               (IEEE-754 doubles, finite, low below high); channels without one scale
//               themselves
//
// The reader takes the windows whose records are sound and says what is wrong with the rest;
// a window without a sound record, like one a missing chart file leaves, shows its list alone.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/monitor/chart_history.h"
#include "core/monitor/settings_image.h"

namespace lcu {

/// The chart file's name beside a settings file.
inline constexpr std::string_view kChartFileSuffix = ".chart";
inline constexpr std::uint32_t kChartLayoutVersion = 1;
/// The largest chart file: 32 windows with 32 fixed ranges each.
inline constexpr std::size_t kLargestChartFile = 12 + kMaxMonitorWindows * (12 + kMaxChartTraces * 18);
/// The bytes of a chart file a load reads: one more than the largest, so that a longer file is
/// told. Nothing past them is looked at, whatever the file's size.
inline constexpr std::size_t kChartBytesToRead = kLargestChartFile + 1;
/// A new chart's span and the list's share of its window.
inline constexpr std::uint32_t kDefaultChartSpan = 60;
inline constexpr std::uint16_t kDefaultListShare = 400;
inline constexpr std::uint16_t kWholeListShare = 1000;

/// How a chart draws its traces: over one another on one plot, or one lane per channel
/// stacked top to bottom. A view this program does not know is read as the overlay.
enum class ChartView : std::uint8_t {
  kOverlay = 0,
  kLanes = 1,
};

/// A range the user fixed for one channel's trace.
struct FixedRange {
  std::uint16_t channel = 0;
  ChartRange range;
  friend bool operator==(const FixedRange&, const FixedRange&) = default;
};

/// One monitor window's chart.
struct WindowChart {
  bool shown = false;
  bool paused = false;
  std::uint16_t listShare = kDefaultListShare;
  std::uint32_t spanSeconds = kDefaultChartSpan;
  std::vector<FixedRange> ranges;
  ChartView view = ChartView::kOverlay;
  friend bool operator==(const WindowChart&, const WindowChart&) = default;
};

struct ChartLayout {
  std::vector<WindowChart> windows;
  friend bool operator==(const ChartLayout&, const ChartLayout&) = default;
};

/// What a chart file gives a load.
struct ChartFileContents {
  /// One chart per window record, in order, as far as the file can be followed; a window
  /// whose record is not sound has the chart of a new window (hidden).
  ChartLayout layout;
  /// Why the file is cut short or not a chart file this program wrote (the first thing
  /// found), empty when it is whole and sound.
  std::string damage;

  bool Damaged() const { return !damage.empty(); }
};

/// The file's bytes. Windows beyond 32, and ranges beyond 32 per window, are left out.
std::vector<std::uint8_t> WriteChartLayout(const ChartLayout& layout);
/// Reads a chart file from its first bytes (at most kChartBytesToRead are looked at).
ChartFileContents ReadChartLayout(std::span<const std::uint8_t> firstBytes);

}  // namespace lcu
