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
//        10  2  reserved, 0
//        12     the fixed ranges, each 18 bytes: channel (u16, below 1024), low and high
//               (IEEE-754 doubles, finite, low below high); channels without one scale
//               themselves
//
// The reader refuses anything else with a message that says what is wrong; a refused or
// missing chart file leaves the windows with their lists alone.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/monitor/chart_history.h"

namespace lcu {

/// The chart file's name beside a settings file.
inline constexpr std::string_view kChartFileSuffix = ".chart";
inline constexpr std::uint32_t kChartLayoutVersion = 1;
/// A new chart's span and the list's share of its window.
inline constexpr std::uint32_t kDefaultChartSpan = 60;
inline constexpr std::uint16_t kDefaultListShare = 400;
inline constexpr std::uint16_t kWholeListShare = 1000;

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
  friend bool operator==(const WindowChart&, const WindowChart&) = default;
};

struct ChartLayout {
  std::vector<WindowChart> windows;
  friend bool operator==(const ChartLayout&, const ChartLayout&) = default;
};

/// The file's bytes. Windows beyond 32, and ranges beyond 32 per window, are left out.
std::vector<std::uint8_t> WriteChartLayout(const ChartLayout& layout);
/// The layout the bytes hold; nullopt with the reason when they are not a chart file this
/// program can read.
std::optional<ChartLayout> ReadChartLayout(std::span<const std::uint8_t> bytes, std::string& reason);

}  // namespace lcu
