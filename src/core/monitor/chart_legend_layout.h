// ChartLegendLayout: how a strip chart's legend fits its room. A row shows a channel's name,
// its value and its units. When the row's line leaves the name too little room to be read
// (less than the name needs, or than a readable share of it), the row takes two lines: the
// name on the first across the whole width, the value and units on the second. Rows that do
// not fit the height are scrolled to; every channel can be reached. Pixel measures are the
// caller's.
#pragma once

#include <cstddef>

namespace lcu {

struct LegendRoom {
  int width = 0;       // for the name, the value and the units together
  int lines = 0;       // whole lines of the legend's height
  int nameWidth = 0;   // what the widest name needs
  int leastName = 0;   // the least room in which a name cut in the middle still reads
  int valueWidth = 0;  // the value and units with the room between them and the name
};

struct ChartLegendLayout {
  int linesPerRow = 1;
  std::size_t rowsShown = 0;  // whole rows in the height
  std::size_t firstRow = 0;   // the row shown at the top
  std::size_t LastScroll(std::size_t rows) const { return rows > rowsShown ? rows - rowsShown : 0; }
  bool Scrolls(std::size_t rows) const { return rows > rowsShown; }
};

/// The legend of `rows` rows in room, scrolled as near to wantedFirst as the rows allow.
ChartLegendLayout LayOutLegend(const LegendRoom& room, std::size_t rows, std::size_t wantedFirst);

}  // namespace lcu
