// ChartPalette: the colours of a strip chart's traces, in trace order, on the chart's white
// background. The first eight are a set that stays apart for the common forms of colour
// blindness (red-blind, green-blind, blue-blind), darkened where the usual set is too pale
// to see as a thin line on white; the eight after them are as far apart from those and from
// each other as a thin line allows, none so dark that it passes for the black. A chart with more traces uses them again
// from the first.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace lcu {

/// The chart's background, as 0xRRGGBB.
inline constexpr std::uint32_t kChartBackground = 0xffffff;

/// The traces' colours, as 0xRRGGBB.
inline constexpr std::array<std::uint32_t, 16> kChartPalette = {
    0x0072b2,  // blue
    0xb34700,  // vermilion, darkened
    0x009e73,  // bluish green
    0xcc79a7,  // reddish purple
    0xd69100,  // orange, darkened
    0x48a8e0,  // sky blue, darkened
    0x000000,  // black
    0x8800ee,  // violet
    0xff00bb,  // magenta
    0x00aa00,  // green
    0x555511,  // olive
    0xff0055,  // crimson
    0x2233aa,  // indigo
    0x880033,  // maroon
    0x880077,  // plum
    0xff2200,  // red
};

/// A trace's colour.
std::uint32_t ChartColour(std::size_t trace);

}  // namespace lcu
