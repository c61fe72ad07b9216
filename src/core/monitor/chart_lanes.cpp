#include "core/monitor/chart_lanes.h"

#include <algorithm>

namespace lcu {

std::vector<ChartLane> LayOutLanes(int top, int height, std::size_t lanes, int spacing) {
  std::vector<ChartLane> laid;
  if (lanes == 0) return laid;
  const long long count = static_cast<long long>(lanes);
  height = std::max(height, 1);
  spacing = std::clamp(spacing, 0, static_cast<int>(std::max(0LL, (height - count) / std::max(1LL, count - 1))));
  // Each lane runs from its share of the height plus spacing to the next one's, less spacing.
  const long long total = static_cast<long long>(height) + spacing;
  laid.reserve(lanes);
  for (long long i = 0; i < count; ++i) {
    const long long from = total * i / count;
    const long long to = total * (i + 1) / count - spacing;
    const long long lane = std::max(1LL, to - from);
    laid.push_back(
        {top + static_cast<int>(std::min(from, static_cast<long long>(height) - 1)), static_cast<int>(lane)});
  }
  return laid;
}

}  // namespace lcu
