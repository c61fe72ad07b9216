#include "core/monitor/chart_palette.h"

namespace lcu {

std::uint32_t ChartColour(std::size_t trace) { return kChartPalette[trace % kChartPalette.size()]; }

}  // namespace lcu
