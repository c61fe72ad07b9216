// ChartModel: what a monitor window's strip chart shows, apart from how it is drawn: its
// traces (the window's first channels, with their names, units and decimals), the recent
// readings converted to values (ChartHistory), the span of time shown and where it ends, a
// pause that holds that end still, the cursor and the values under it, the range each trace
// is scaled to, and the trace whose scale the overlay shows. The chart widget feeds it the
// readings the session publishes and draws from it; everything here is testable without a
// display.
//
// Times are seconds on the clock's monotonic time, counted from the model's creation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/channels/channel_model.h"
#include "core/host/clock.h"
#include "core/monitor/chart_history.h"
#include "core/monitor/chart_layout.h"

namespace lcu {

/// One trace of a chart: a channel as the channel table names it.
struct ChartTrace {
  std::uint16_t channel = 0;
  int decimals = 0;
  std::string name;
  std::string units;
  std::string label;  // "NAME [units]"
};

class ChartModel {
 public:
  /// Names, units, decimals and the conversion of readings come from app; time from clock.
  ChartModel(const ChannelModel& app, Clock& clock);
  ChartModel(const ChartModel&) = delete;
  ChartModel& operator=(const ChartModel&) = delete;

  /// Takes a window's channels (the first kMaxChartTraces), named as the channel table names
  /// them now. The same channels again (a relabel) keep their past; other channels start
  /// afresh: no ticks, automatic ranges found again, no cursor, no trace picked or pointed
  /// at. True when they started afresh.
  bool SetChannels(std::span<const std::uint16_t> channels);
  std::size_t TraceCount() const { return m_traces.size(); }
  const ChartTrace& Trace(std::size_t trace) const { return m_traces[trace]; }
  /// Moves whenever the traces start afresh, so that what was drawn of them is not reused.
  std::uint64_t Generation() const { return m_nGeneration; }
  const ChartHistory& History() const { return m_history; }

  /// A tick's raw readings, one per row in row order, read at the local time taken; rows
  /// without a reading are gaps.
  void TakeReadings(std::span<const std::uint32_t> raw, const LocalTime& taken);
  /// A tick whose exchange failed: every trace has a gap there.
  void TakeMissedReadings();
  /// The local time of the last readings taken, and the seconds since then (0 before any).
  const LocalTime& LastReadAt() const { return m_lastReadAt; }
  double SecondsSinceReading() const;

  double Now() const;
  /// Whether the newest readings are too old to be live.
  bool IsStale() const { return m_history.IsStale(Now()); }
  /// The time at the chart's right edge: the moment it was paused; while readings come the
  /// newest tick; once they stopped, the time now, so that the traces end where they did.
  double RightEdge() const;

  /// The span shown, in seconds (10 to 600; others are brought within). Another span finds
  /// the automatic ranges again.
  std::uint32_t Span() const { return m_nSpan; }
  void SetSpan(std::uint32_t seconds);
  /// A paused chart keeps its right edge while ticks keep coming. True when it changed.
  bool IsPaused() const { return m_pausedAt.has_value(); }
  bool SetPaused(bool paused);

  /// The traces over one another, or one lane per channel. True when it changed.
  ChartView View() const { return m_view; }
  bool SetView(ChartView view);

  /// A trace's fixed range by channel number; none gives the channel automatic scaling.
  void SetFixedRange(std::uint16_t channel, std::optional<ChartRange> range);
  /// The fixed range of a trace's channel; none when it scales itself.
  std::optional<ChartRange> FixedRangeOf(std::size_t trace) const;
  /// The range a trace is drawn with now: its fixed range, or its automatic one as last
  /// brought up to date (before that, its values' range in the time shown).
  ChartRange RangeOf(std::size_t trace) const;
  /// Brings the automatic ranges up to the values of the span that ends at right. A range
  /// holds while the trace's values stay inside it and take at least half of it; a value
  /// beyond it widens it on that side with room to spare, so that a trace on the move is not
  /// scaled again at every tick.
  void UpdateAutoRanges(double right);

  /// The cursor's time; none shows the newest values.
  std::optional<double> Cursor() const { return m_cursor; }
  void SetCursor(std::optional<double> time) { m_cursor = time; }
  /// Puts the cursor at a share of the span shown: 0 its left edge, 1 its right (beyond
  /// either, at that edge).
  void SetCursorAt(double share);
  /// Moves the cursor (from the right edge when there is none) by seconds; forward no
  /// further than the right edge.
  void StepCursor(double seconds);
  /// Whether the cursor's time has scrolled out of the span shown, to the left.
  bool IsCursorOutside() const;

  /// The trace picked in the legend; one beyond the traces is none.
  std::optional<std::size_t> Selected() const { return m_selected; }
  void Select(std::optional<std::size_t> trace);
  /// The trace pointed at in the legend; one beyond the traces is none. True when it changed.
  std::optional<std::size_t> Pointed() const { return m_pointed; }
  bool Point(std::optional<std::size_t> trace);
  /// The trace whose scale the overlay shows: the one pointed at, else the one picked, else
  /// the first; none without traces.
  std::optional<std::size_t> AxisTrace() const;

  /// The value a trace shows: under the cursor, or without one the newest read (across a
  /// missed tick, or while none come, the last ones read, as the window's list keeps them).
  std::optional<double> ShownValue(std::size_t trace) const;
  /// ShownValue as the Value cell writes it with the trace's decimals; none without a value.
  std::optional<std::string> ShownValueText(std::size_t trace) const;

  /// The chart's part of a window's layout (view, span, paused, fixed ranges), and taking it
  /// back.
  WindowChart Layout() const;
  void ApplyLayout(const WindowChart& chart);

 private:
  const ChannelModel& m_app;
  Clock& m_clock;
  Clock::TimePoint m_origin;
  ChartHistory m_history;
  std::vector<ChartTrace> m_traces;
  std::uint64_t m_nGeneration = 0;
  std::map<std::uint16_t, ChartRange> m_fixed;
  std::vector<std::optional<ChartRange>> m_auto;  // by trace; none until first brought up to date
  std::uint32_t m_nSpan = kDefaultChartSpan;
  std::optional<double> m_pausedAt;
  std::optional<double> m_cursor;
  ChartView m_view = ChartView::kOverlay;
  std::optional<std::size_t> m_selected;
  std::optional<std::size_t> m_pointed;
  LocalTime m_lastReadAt;
  std::vector<double> m_values;  // one tick's values, kept to spare an allocation per tick
};

}  // namespace lcu
