#include "core/monitor/chart_model.h"

#include <algorithm>
#include <chrono>
#include <limits>

#include "core/channels/channel_conversion.h"
#include "core/monitor/csv_record.h"
#include "core/monitor/monitor_row.h"

namespace lcu {

namespace {
// An automatic range that a value leaves is widened by this share of the values' extent on
// that side; one that the values take less of than this share is drawn in to them.
constexpr double kAutoHeadroom = 0.25;
constexpr double kAutoLeast = 0.5;
}  // namespace

ChartModel::ChartModel(const ChannelModel& app, Clock& clock)
    : m_app(app), m_clock(clock), m_origin(clock.Monotonic()) {}

bool ChartModel::SetChannels(std::span<const std::uint16_t> channels) {
  const std::size_t traces = std::min(channels.size(), kMaxChartTraces);
  const bool same = traces == m_traces.size() &&
                    std::equal(m_traces.begin(), m_traces.end(), channels.begin(),
                               [](const ChartTrace& t, std::uint16_t channel) { return t.channel == channel; });
  m_traces.clear();
  // The table has no entry for numbers from 1024 on: such a trace has no name, units or decimals.
  static const ChannelDefinition kUndefined{};
  for (std::size_t i = 0; i < traces; ++i) {
    const ChannelDefinition& definition =
        channels[i] < m_app.m_channelTable.size() ? m_app.m_channelTable[channels[i]] : kUndefined;
    std::string name = definition.NameText();
    std::string units = definition.UnitsText();
    std::string label = CsvHeading(name, units);
    m_traces.push_back({channels[i], definition.decimals, std::move(name), std::move(units), std::move(label)});
  }
  if (!same) {
    m_history.SetTraces(traces);
    ++m_nGeneration;
    m_auto.clear();
    m_cursor.reset();
    m_selected.reset();
    m_pointed.reset();
  }
  m_values.resize(traces);
  m_auto.resize(traces);
  return !same;
}

void ChartModel::TakeReadings(std::span<const std::uint32_t> raw, const LocalTime& taken) {
  m_lastReadAt = taken;
  for (std::size_t i = 0; i < m_values.size(); ++i) {
    m_values[i] = i < raw.size() ? ConvertReading(m_app.m_calibration, raw[i], m_traces[i].channel)
                                 : std::numeric_limits<double>::quiet_NaN();
  }
  m_history.Add(Now(), m_values);
}

void ChartModel::TakeMissedReadings() { m_history.AddGap(Now()); }

double ChartModel::SecondsSinceReading() const {
  const double now = Now();
  return now - m_history.NewestReading().value_or(now);
}

double ChartModel::Now() const { return std::chrono::duration<double>(m_clock.Monotonic() - m_origin).count(); }

double ChartModel::RightEdge() const {
  if (m_pausedAt) return *m_pausedAt;
  if (IsStale()) return std::max(Now(), m_history.Newest().value_or(0.0));
  return m_history.Newest().value_or(Now());
}

void ChartModel::SetSpan(std::uint32_t seconds) {
  m_nSpan = std::clamp(seconds, static_cast<std::uint32_t>(kShortestChartSpan),
                       static_cast<std::uint32_t>(kLongestChartSpan));
  std::fill(m_auto.begin(), m_auto.end(), std::nullopt);
}

bool ChartModel::SetPaused(bool paused) {
  if (paused == IsPaused()) return false;
  if (paused) {
    m_pausedAt = RightEdge();
  } else {
    m_pausedAt.reset();
  }
  return true;
}

bool ChartModel::SetView(ChartView view) {
  if (view == m_view) return false;
  m_view = view;
  return true;
}

void ChartModel::SetFixedRange(std::uint16_t channel, std::optional<ChartRange> range) {
  if (range) {
    m_fixed[channel] = *range;
  } else {
    m_fixed.erase(channel);
  }
}

std::optional<ChartRange> ChartModel::FixedRangeOf(std::size_t trace) const {
  if (trace >= m_traces.size()) return std::nullopt;
  const auto fixed = m_fixed.find(m_traces[trace].channel);
  if (fixed == m_fixed.end()) return std::nullopt;
  return fixed->second;
}

ChartRange ChartModel::RangeOf(std::size_t trace) const {
  if (trace >= m_traces.size()) return {};
  const auto fixed = m_fixed.find(m_traces[trace].channel);
  if (fixed != m_fixed.end()) return fixed->second;
  if (trace < m_auto.size() && m_auto[trace]) return *m_auto[trace];
  const double right = RightEdge();
  return m_history.AutoRange(trace, right - m_nSpan, right);
}

void ChartModel::UpdateAutoRanges(double right) {
  const double from = right - m_nSpan;
  for (std::size_t trace = 0; trace < m_auto.size(); ++trace) {
    std::optional<ChartRange>& kept = m_auto[trace];
    const ChartRange fresh = m_history.AutoRange(trace, from, right);
    if (!kept) {
      kept = fresh;
      continue;
    }
    const double extent = fresh.high - fresh.low;
    const bool below = fresh.low < kept->low;
    const bool above = fresh.high > kept->high;
    if (below || above) {
      kept = ChartRange{below ? fresh.low - extent * kAutoHeadroom : kept->low,
                        above ? fresh.high + extent * kAutoHeadroom : kept->high};
    } else if (extent < (kept->high - kept->low) * kAutoLeast) {
      kept = fresh;
    }
  }
}

void ChartModel::SetCursorAt(double share) { m_cursor = RightEdge() - m_nSpan * (1.0 - std::clamp(share, 0.0, 1.0)); }

void ChartModel::StepCursor(double seconds) {
  const double right = RightEdge();
  const double moved = m_cursor.value_or(right) + seconds;
  m_cursor = seconds < 0 ? moved : std::min(moved, right);
}

bool ChartModel::IsCursorOutside() const { return m_cursor && *m_cursor < RightEdge() - m_nSpan; }

void ChartModel::Select(std::optional<std::size_t> trace) {
  if (trace && *trace >= m_traces.size()) trace.reset();
  m_selected = trace;
}

bool ChartModel::Point(std::optional<std::size_t> trace) {
  if (trace && *trace >= m_traces.size()) trace.reset();
  if (trace == m_pointed) return false;
  m_pointed = trace;
  return true;
}

std::optional<std::size_t> ChartModel::AxisTrace() const {
  if (m_traces.empty()) return std::nullopt;
  if (m_pointed && *m_pointed < m_traces.size()) return m_pointed;
  if (m_selected && *m_selected < m_traces.size()) return m_selected;
  return 0;
}

std::optional<double> ChartModel::ShownValue(std::size_t trace) const {
  if (!m_cursor) return m_history.NewestValue(trace);
  const std::optional<ChartSample> sample = m_history.ValueUnder(trace, *m_cursor);
  if (!sample) return std::nullopt;
  return sample->value;
}

std::optional<std::string> ChartModel::ShownValueText(std::size_t trace) const {
  const std::optional<double> value = ShownValue(trace);
  if (!value) return std::nullopt;
  return FormatValueCell(*value, m_traces[trace].decimals);
}

WindowChart ChartModel::Layout() const {
  WindowChart chart;
  chart.view = m_view;
  chart.paused = IsPaused();
  chart.spanSeconds = m_nSpan;
  for (const auto& [channel, range] : m_fixed) {
    if (chart.ranges.size() == kMaxChartTraces) break;
    chart.ranges.push_back({channel, range});
  }
  return chart;
}

void ChartModel::ApplyLayout(const WindowChart& chart) {
  SetView(chart.view);
  SetSpan(chart.spanSeconds);
  m_fixed.clear();
  for (const FixedRange& fixed : chart.ranges) m_fixed[fixed.channel] = fixed.range;
  SetPaused(chart.paused);
}

}  // namespace lcu
