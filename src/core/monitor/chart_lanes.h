// ChartLanes: the lanes of a strip chart shown one channel per lane, stacked top to bottom in
// trace order, of equal height within a pixel and with a little room between them.
#pragma once

#include <cstddef>
#include <vector>

namespace lcu {

struct ChartLane {
  int top = 0;
  int height = 1;
  int Bottom() const { return top + height - 1; }
};

/// `lanes` lanes over the rows from top to top + height - 1, spacing rows apart; every lane
/// is at least a row high, so a very short plot gives lanes that touch.
std::vector<ChartLane> LayOutLanes(int top, int height, std::size_t lanes, int spacing);

}  // namespace lcu
