#include "core/monitor/chart_history.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace lcu {

namespace {
constexpr float kGap = std::numeric_limits<float>::quiet_NaN();
// Above and below the values of an automatic range, as a share of it.
constexpr double kAutoMargin = 0.05;
// A flat trace's range: a tenth of its value each side, or at least one unit.
constexpr double kFlatShare = 0.1;
constexpr double kFlatLeast = 1.0;
// How long past the newest tick the cursor still shows its value: a late tick's worth.
constexpr double kCursorReach = 0.5;
}  // namespace

ChartHistory::ChartHistory(std::size_t capacity)
    : m_capacity(std::max<std::size_t>(capacity, 1)), m_times(m_capacity) {}

void ChartHistory::SetTraces(std::size_t traces) {
  m_nTraces = std::min(traces, kMaxChartTraces);
  m_nFirst = 0;
  m_nSize = 0;
  m_newestReading.reset();
  m_bNewestHasValues = false;
  m_nAdded = 0;
  m_nNewestReadingAt = 0;
  m_values.assign(m_nTraces * m_capacity, kGap);
  m_values.shrink_to_fit();
}

std::size_t ChartHistory::MemoryBytes() const {
  return m_times.capacity() * sizeof(double) + m_values.capacity() * sizeof(float);
}

void ChartHistory::Add(double time, std::span<const double> values) {
  if (m_nSize > 0 && time < TimeAt(m_nSize - 1)) return;
  if (m_bNewestHasValues && time - TimeAt(m_nSize - 1) > kChartGapSeconds) {
    Put(TimeAt(m_nSize - 1) + kChartTickSeconds, {});
  }
  Put(time, values);
  m_bNewestHasValues = false;
  for (std::size_t t = 0; t < m_nTraces && t < values.size(); ++t) {
    if (!std::isnan(values[t])) m_bNewestHasValues = true;
  }
  if (m_bNewestHasValues) {
    m_newestReading = time;
    m_nNewestReadingAt = m_nAdded;
  }
}

std::optional<double> ChartHistory::NewestValue(std::size_t trace) const {
  if (!m_newestReading) return std::nullopt;
  const std::uint64_t behind = m_nAdded - m_nNewestReadingAt;
  if (behind >= m_nSize) return std::nullopt;
  return ValueAt(trace, m_nSize - 1 - static_cast<std::size_t>(behind));
}

void ChartHistory::Put(double time, std::span<const double> values) {
  std::size_t slot = 0;
  if (m_nSize < m_capacity) {
    slot = Slot(m_nSize++);
  } else {
    slot = m_nFirst;
    m_nFirst = (m_nFirst + 1) % m_capacity;
  }
  ++m_nAdded;
  m_times[slot] = time;
  for (std::size_t t = 0; t < m_nTraces; ++t) {
    m_values[t * m_capacity + slot] = t < values.size() ? static_cast<float>(values[t]) : kGap;
  }
}

void ChartHistory::AddGap(double time) { Add(time, {}); }

double ChartHistory::TimeAt(std::size_t i) const { return m_times[Slot(i)]; }

std::optional<double> ChartHistory::ValueAt(std::size_t trace, std::size_t i) const {
  if (trace >= m_nTraces || i >= m_nSize) return std::nullopt;
  const float value = m_values[trace * m_capacity + Slot(i)];
  if (std::isnan(value)) return std::nullopt;
  return value;
}

std::optional<double> ChartHistory::Newest() const {
  if (m_nSize == 0) return std::nullopt;
  return TimeAt(m_nSize - 1);
}

std::size_t ChartHistory::LowerBound(double t) const {
  std::size_t low = 0;
  std::size_t high = m_nSize;
  while (low < high) {
    const std::size_t mid = low + (high - low) / 2;
    if (TimeAt(mid) < t) {
      low = mid + 1;
    } else {
      high = mid;
    }
  }
  return low;
}

ChartHistory::Span ChartHistory::Window(double from, double to) const {
  std::size_t first = LowerBound(from);
  std::size_t last = LowerBound(to);
  while (last < m_nSize && TimeAt(last) <= to) ++last;
  if (first > 0) --first;
  if (last < m_nSize) ++last;
  return {first, last};
}

ChartRange ChartHistory::AutoRange(std::size_t trace, double from, double to) const {
  const Span span = Window(from, to);
  float lowest = std::numeric_limits<float>::infinity();
  float highest = -lowest;
  if (trace < m_nTraces && span.first < span.last) {
    // Straight along the ring, a chart asks for every trace's range at every tick.
    const float* values = m_values.data() + trace * m_capacity;
    std::size_t slot = Slot(span.first);
    for (std::size_t i = span.first; i < span.last; ++i) {
      const float value = values[slot];
      if (++slot == m_capacity) slot = 0;
      if (!std::isfinite(value)) continue;
      lowest = std::min(lowest, value);
      highest = std::max(highest, value);
    }
  }
  if (lowest > highest) return {};
  const double low = lowest;
  const double high = highest;
  if (low == high) {
    const double half = std::max(std::abs(low) * kFlatShare, kFlatLeast);
    return {low - half, high + half};
  }
  const double margin = (high - low) * kAutoMargin;
  return {low - margin, high + margin};
}

std::optional<ChartSample> ChartHistory::ValueUnder(std::size_t trace, double time) const {
  std::size_t i = LowerBound(time);
  if (i < m_nSize && TimeAt(i) == time) {
    // The tick itself.
  } else if (i == 0) {
    return std::nullopt;
  } else {
    --i;
    if (i == m_nSize - 1 && time - TimeAt(i) > kCursorReach) return std::nullopt;
  }
  const std::optional<double> value = ValueAt(trace, i);
  if (!value) return std::nullopt;
  return ChartSample{TimeAt(i), *value};
}

}  // namespace lcu
