// ChartScale: the labelled values of a trace's scale: round steps (1, 2 or 5 times a power of
// ten) across the trace's range, no more of them than the room allows, with the decimals that
// tell one step from the next.
#pragma once

#include <string>

#include "core/monitor/chart_history.h"

namespace lcu {

struct ChartScale {
  double first = 0.0;  // the lowest labelled value, at or above the range's low
  double step = 1.0;
  int count = 0;     // labelled values from first, each a step above the one before
  int decimals = 0;  // what the labels show after the point

  double ValueAt(int i) const { return first + step * i; }
  /// Label i as the scale shows it.
  std::string Label(int i) const;
};

/// The scale of range with at most `most` labels (at least 2); none for a range that is
/// empty, reversed or not finite.
ChartScale ScaleOf(const ChartRange& range, int most);

/// A value with the given decimals ("%.*f"), "-0" shown as "0".
std::string ScaleText(double value, int decimals);

}  // namespace lcu
