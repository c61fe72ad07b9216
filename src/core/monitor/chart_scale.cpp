#include "core/monitor/chart_scale.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace lcu {

namespace {
// More decimals than a float's value carries tell nothing.
constexpr int kMostScaleDecimals = 6;
}  // namespace

std::string ChartScale::Label(int i) const { return ScaleText(ValueAt(i), decimals); }

ChartScale ScaleOf(const ChartRange& range, int most) {
  ChartScale scale;
  const double extent = range.high - range.low;
  if (!std::isfinite(range.low) || !std::isfinite(range.high) || !(extent > 0) || !std::isfinite(extent)) {
    return scale;
  }
  most = std::max(most, 2);
  // The smallest round step that labels the range with no more than `most` values.
  const double rough = extent / (most - 1);
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  double step = 10.0 * power;
  for (const double multiple : {1.0, 2.0, 5.0}) {
    if (multiple * power >= rough) {
      step = multiple * power;
      break;
    }
  }
  scale.step = step;
  // A low on a step (within rounding) is labelled.
  scale.first = std::ceil(range.low / step - 1e-9) * step;
  scale.count = static_cast<int>(std::floor((range.high - scale.first) / step + 1e-9)) + 1;
  scale.count = std::clamp(scale.count, 0, most);
  scale.decimals = std::clamp(static_cast<int>(-std::floor(std::log10(step) + 1e-9)), 0, kMostScaleDecimals);
  return scale;
}

std::string ScaleText(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  std::string shown(text);
  // A value a rounding hair below zero is zero on the scale.
  if (shown.front() == '-' && shown.find_first_not_of("-0.") == std::string::npos) shown.erase(0, 1);
  return shown;
}

}  // namespace lcu
