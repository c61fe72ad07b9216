// ChartHistory: the recent readings a strip chart draws, one ring per trace (channel) with
// the time of each tick beside them. The rings hold the longest span a chart can show at the
// session's rate, so memory is fixed when the channels are set and never grows with time.
// A tick without readings is kept as a gap (no value), so a trace breaks where the LCU was
// off line. So is a pause between ticks: while a download holds the link or the LCU is off
// line no readings come at all, and a line drawn across that time would show values nobody
// read. Times are seconds on a clock that only moves forward; they are the caller's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace lcu {

/// The spans a chart shows, in seconds: from the last 10 s to the last 10 min.
inline constexpr double kShortestChartSpan = 10.0;
inline constexpr double kLongestChartSpan = 600.0;
/// The traces of one chart: the first rows of its window.
inline constexpr std::size_t kMaxChartTraces = 32;
/// Ticks kept: the longest span at 5 ticks a second, and a little more for a late timer.
inline constexpr std::size_t kChartCapacity = 3200;

/// The time from one tick to the next, and the pause after which ticks no longer join: the
/// trace breaks one tick's time after the last reading, and values that old are not live.
inline constexpr double kChartTickSeconds = 0.2;
inline constexpr double kChartGapSeconds = 3 * kChartTickSeconds;

/// A range of values that a trace is scaled to: low at the bottom, high at the top.
struct ChartRange {
  double low = 0.0;
  double high = 1.0;
  /// Where a value lies in the range, 0 at low and 1 at high (beyond either for values
  /// outside it).
  double Fraction(double value) const { return (value - low) / (high - low); }
  friend bool operator==(const ChartRange&, const ChartRange&) = default;
};

/// One tick of one trace.
struct ChartSample {
  double time = 0.0;
  double value = 0.0;
};

class ChartHistory {
 public:
  explicit ChartHistory(std::size_t capacity = kChartCapacity);

  /// Starts afresh with a number of traces (cut to kMaxChartTraces); every tick is dropped.
  void SetTraces(std::size_t traces);
  std::size_t Traces() const { return m_nTraces; }
  std::size_t Capacity() const { return m_capacity; }
  /// Ticks kept, at most the capacity; the oldest goes first when the ring is full.
  std::size_t Size() const { return m_nSize; }
  /// Bytes the rings take; fixed by the capacity and the traces.
  std::size_t MemoryBytes() const;

  /// A tick's values, one per trace in trace order (missing ones are gaps, extra ones are
  /// ignored). Times must not go back: a tick older than the newest is dropped. A tick more
  /// than kChartGapSeconds after a newest tick with values is preceded by a gap one tick's
  /// time after that one, so that the pause breaks every trace.
  void Add(double time, std::span<const double> values);
  /// A tick without readings: every trace has a gap there.
  void AddGap(double time);

  /// Tick i, 0 the oldest kept.
  double TimeAt(std::size_t i) const;
  /// The value of trace at tick i; nullopt for a gap.
  std::optional<double> ValueAt(std::size_t trace, std::size_t i) const;
  /// The newest tick's time; nullopt when none is kept.
  std::optional<double> Newest() const;
  /// The time of the newest tick that had readings (a gap has none); nullopt when none did.
  std::optional<double> NewestReading() const { return m_newestReading; }
  /// A trace's value at that tick: the last one read, also across the gaps after it; nullopt
  /// when that tick had none for the trace or it is no longer kept.
  std::optional<double> NewestValue(std::size_t trace) const;
  /// Whether the newest readings are too old at now to be shown as live: none came for more
  /// than kChartGapSeconds. False before the first reading, which leaves nothing to show.
  bool IsStale(double now) const { return m_newestReading && now - *m_newestReading > kChartGapSeconds; }

  /// The ticks a chart from "from" to "to" draws, as [first, last): those inside, and the
  /// one on each side of it, so that the traces run to the edges.
  struct Span {
    std::size_t first = 0;
    std::size_t last = 0;
  };
  Span Window(double from, double to) const;
  /// The range of a trace's values from "from" to "to", with a margin of a twentieth above
  /// and below; a flat trace gets one unit (or a tenth of its value) each side, a trace
  /// without values 0 to 1.
  ChartRange AutoRange(std::size_t trace, double from, double to) const;
  /// The cursor's value: the trace's tick at or just before time (the value shown until the
  /// next one came); nullopt before the first tick, for a gap, and past the newest tick by
  /// more than a tick's gap in time.
  std::optional<ChartSample> ValueUnder(std::size_t trace, double time) const;

 private:
  std::size_t Slot(std::size_t i) const { return (m_nFirst + i) % m_capacity; }
  /// The first tick whose time is not below t (Size() when none).
  std::size_t LowerBound(double t) const;
  void Put(double time, std::span<const double> values);

  std::size_t m_capacity;
  std::size_t m_nTraces = 0;
  std::size_t m_nFirst = 0;
  std::size_t m_nSize = 0;
  std::optional<double> m_newestReading;
  // Ticks ever added, and the count when the newest tick with readings came.
  std::uint64_t m_nAdded = 0;
  std::uint64_t m_nNewestReadingAt = 0;
  bool m_bNewestHasValues = false;
  std::vector<double> m_times;
  // Trace after trace, each a ring of m_capacity values; NaN marks a gap.
  std::vector<float> m_values;
};

}  // namespace lcu
