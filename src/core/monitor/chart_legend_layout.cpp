#include "core/monitor/chart_legend_layout.h"

#include <algorithm>

namespace lcu {

ChartLegendLayout LayOutLegend(const LegendRoom& room, std::size_t rows, std::size_t wantedFirst) {
  ChartLegendLayout layout;
  const int needed = std::min(room.nameWidth, room.leastName);
  layout.linesPerRow = room.width - room.valueWidth >= needed ? 1 : 2;
  layout.rowsShown = static_cast<std::size_t>(std::max(0, room.lines / layout.linesPerRow));
  // A legend shorter than one row still shows one, cut at the bottom, rather than nothing.
  if (layout.rowsShown == 0 && rows > 0) layout.rowsShown = 1;
  layout.firstRow = std::min(wantedFirst, layout.LastScroll(rows));
  return layout;
}

}  // namespace lcu
