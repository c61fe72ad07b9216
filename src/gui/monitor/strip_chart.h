// StripChart: a monitor window's channels drawn as a strip chart: one trace per channel
// (the first 32 rows) against time over the last 10 s to 10 min, each trace scaled to its
// own range (automatic, or one the user fixes). Two views: the traces over one another with
// the scale of one channel (the one the user points at or picks in the legend) at the left
// in its colour, or one lane per channel stacked top to bottom, each labelled with its name,
// units and range. A legend beside it names every channel (scrolled when the window is
// short) with its value and units: those under a cursor that the user moves along the time
// axis with the mouse, or the newest ones without a cursor. Newest values that are no longer
// live (no readings for a while: off line, or a download holding the link) are greyed with
// the time they were read. Where no readings came the traces break.
//
// It hands the readings the session publishes for its document (no transfer of its own) to
// its ChartModel, which keeps what is shown, and keeps taking them while hidden or paused, so
// that it has the recent past when shown or resumed. A paused chart stands still on the
// moment it was paused. The widget draws the model with QPainter, keeping what it drew to
// draw a tick's changes only, and turns the mouse and keys into changes of the model.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <QImage>
#include <QPixmap>
#include <QPolygon>
#include <QString>
#include <QTimer>
#include <QWidget>

#include "core/app/app_state.h"
#include "core/host/clock.h"
#include "core/monitor/chart_history.h"
#include "core/monitor/chart_lanes.h"
#include "core/monitor/chart_layout.h"
#include "core/monitor/chart_legend_layout.h"
#include "core/monitor/chart_model.h"
#include "core/monitor/monitor_document.h"
#include "core/session/lcu_session.h"
#include "gui/monitor/ascii_glyphs.h"

class QScrollBar;

namespace lcu::gui {

class GuiPrompter;

/// The spans the chart offers, in seconds.
inline constexpr std::uint32_t kChartSpans[] = {10, 30, 60, 120, 300, 600};

class StripChart : public QWidget, private MonitorDocumentObserver, private ReadingsSubscriber {
  Q_OBJECT

 public:
  StripChart(MonitorDocument& document, LcuSession& session, const AppState& app, Clock& clock, GuiPrompter& prompter,
             QWidget* parent = nullptr);
  ~StripChart() override;
  StripChart(const StripChart&) = delete;
  StripChart& operator=(const StripChart&) = delete;

  /// What the chart shows: its traces, history, span, pause, cursor, ranges and selection.
  /// It changes through the chart, which repaints what a change moves.
  const ChartModel& Model() const { return m_model; }

  void SetSpan(std::uint32_t seconds);
  void SetPaused(bool paused);
  void SetFixedRange(std::uint16_t channel, std::optional<ChartRange> range);
  void SetCursor(std::optional<double> time);
  void SetView(ChartView view);
  void Select(std::optional<std::size_t> trace);

  /// A legend row: the trace's name, and its value under the cursor (or newest) and units.
  QString LegendText(std::size_t trace) const;
  /// The trace's name as the legend shows it in the room it has now.
  QString ShownName(std::size_t trace) const;
  /// The legend's fit in its room now: lines per row, rows shown, the first one shown.
  ChartLegendLayout LegendLayout() const;
  /// Scrolls the legend so that row is shown at its top (as far as the rows go).
  void ScrollLegendTo(std::size_t row);
  /// What the legend's last line says now: the cursor's time, or when the values shown were
  /// last read while they are not live.
  QString StatusText() const;

  /// The chart's part of the layout (view, span, paused, fixed ranges), and taking it back.
  WindowChart Layout() const { return m_model.Layout(); }
  void ApplyLayout(const WindowChart& chart);

 public slots:
  void OnSetRange();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void changeEvent(QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  bool event(QEvent* event) override;

 private:
  // A trace's texts, kept as the painter takes them.
  struct TraceTexts {
    QString name;
    QString units;
    QString label;  // "NAME [units]"
  };
  // Where the legend's parts are now.
  struct LegendGeometry {
    ChartLegendLayout layout;
    QRect rows;        // the rows' lines
    QRect status;      // the last line: the cursor's time, or when the values were read
    int textLeft = 0;  // names start here, after the colour swatch
    int nameWidth = 0;
    int valueLeft = 0;  // the values' column, right-aligned to its end
    int unitsLeft = 0;
    int line = 1;
    bool scrollBar = false;
  };
  // What the scale at the left was drawn for, to tell when a tick changes it.
  struct AxisKey {
    ChartView view = ChartView::kOverlay;
    std::optional<std::size_t> trace;
    ChartRange range;
    int height = 0;
    friend bool operator==(const AxisKey&, const AxisKey&) = default;
  };

  void OnRowsChanged(const MonitorDocument& document) override;
  void OnLayoutChanged(const MonitorDocument&) override {}
  void OnReadings(const MonitorDocument& document, std::span<const std::uint32_t> raw, const LocalTime& taken) override;
  void OnMissedReadings(const MonitorDocument& document, const LocalTime& when) override;

  /// Repaints when the chart is on the screen and moving: all of it, or what a tick changes.
  void Changed();
  void Ticked();
  /// The widths that follow the font and the channels' names and units.
  void Measure();
  void OnLiveCheck();
  QRect PlotArea() const;
  /// The scale of the overlay's axis trace, left of the plot (nothing in the lanes view).
  QRect AxisArea() const;
  int AxisWidth() const;
  QRect LegendArea() const;
  LegendGeometry Legend() const;
  /// The rectangle of a trace's value in the legend; empty when its row is not shown.
  QRect ValueRect(const LegendGeometry& legend, std::size_t trace) const;
  /// The legend's row at a point; none outside the rows.
  std::optional<std::size_t> LegendRowAt(const QPoint& point) const;
  void SyncScrollBar(const LegendGeometry& legend);
  AxisKey CurrentAxis() const;
  /// The lanes of the traces in the plot's image.
  const std::vector<ChartLane>& Lanes(int height);
  void DrawAxis(QPainter& painter);
  void DrawLaneLabels(QPainter& painter, const QRect& plot);
  /// Brings the kept image of the traces up to the right edge: moved left by the columns the
  /// time moved and only the new columns drawn, or drawn afresh when what it shows changed.
  const QImage& Traces(const QRect& plot);
  /// The ticks of span drawn into the traces' image, clipped to the columns from clipLeft on.
  void DrawTraces(ChartHistory::Span span, bool decimate, int clipLeft);
  /// A tick's column in the traces' image; the right edge is its last column.
  int ColumnOf(double time) const;
  int LegendWidth() const;
  /// The background, frame, grid and time axis: the same from tick to tick, so drawn once
  /// for a size and span and kept.
  const QPixmap& Background();
  void DrawGrid(QPainter& painter, const QRect& plot, double span) const;
  /// The plot's frame and the grid's vertical lines.
  void DrawGridLines(QPainter& painter, const QRect& plot) const;
  /// A trace over the ticks of span, at the columns worked out for them (m_columns), in the
  /// traces' image.
  void DrawTrace(QPainter& painter, std::size_t trace, ChartHistory::Span span, bool decimate);
  /// A glyph run of text with its right end at x and its baseline at y, or text when the font
  /// has no glyph for a character.
  void DrawRightAligned(QPainter& painter, int x, int baseline, const QString& text);
  /// The legend's lines within the region repainted: their colours and labels only when it
  /// takes them in (a tick's repaint leaves them as they are), and the values it takes in.
  void DrawLegend(QPainter& painter, const QRect& area, const QRegion& region);
  /// A value right-aligned in its line of the legend, whose baseline is ascent below its top.
  void DrawValue(QPainter& painter, const QRect& textArea, int ascent, const QString& text);
  /// A trace's shown value as the legend writes it.
  QString ValueText(std::size_t trace) const;
  /// ValueText, taken from those the last tick worked out when they are still current.
  QString ShownValueText(std::size_t trace) const;
  void CursorFromX(int x);

  MonitorDocument& m_document;
  LcuSession& m_session;
  GuiPrompter& m_prompter;
  ChartModel m_model;
  std::vector<TraceTexts> m_texts;  // by trace
  std::size_t m_nLegendFirst = 0;   // the row the user scrolled to
  QScrollBar* m_pLegendScroll;
  // Looks for readings that stopped coming while the session publishes nothing.
  QTimer m_liveTimer;
  bool m_bStale = false;  // as last drawn
  QString m_drawnStatus;
  LocalTime m_lastReadAt;
  AxisKey m_drawnAxis;
  // The lanes, for the height and traces they were laid out for.
  std::vector<ChartLane> m_lanes;
  int m_nLanesHeight = -1;
  // Each lane's label as last drawn, as text and as an image to put over its traces.
  std::vector<QString> m_laneTexts;
  std::vector<QImage> m_laneLabels;
  // Kept from paint to paint to spare their allocations: the ticks' pixel columns and the
  // points of a trace's line.
  std::vector<int> m_columns;
  QPolygon m_line;
  QPixmap m_background;
  std::uint32_t m_nBackgroundSpan = 0;
  ChartView m_backgroundView = ChartView::kOverlay;
  std::size_t m_nBackgroundTraces = 0;
  // The traces as drawn at the last paint, on a transparent image of the plot's size, with
  // what they were drawn for. Time maps to whole columns counted from the clock's zero, so
  // that a later right edge moves the picture by whole columns.
  struct TracesKey {
    QSize size;
    qreal ratio = 0;
    std::uint32_t span = 0;
    ChartView view = ChartView::kOverlay;
    bool decimate = false;
    std::uint64_t traces = 0;
    std::vector<ChartRange> ranges;
    friend bool operator==(const TracesKey&, const TracesKey&) = default;
  };
  QImage m_tracesImage;
  TracesKey m_tracesKey;
  TracesKey m_nextKey;           // kept to spare the ranges' allocation per paint
  long long m_nTracesRight = 0;  // the column of the right edge the image was drawn for
  std::optional<double> m_tracesNewest;
  long long m_nRightColumn = 0;  // the right edge's column while drawing
  long long m_nPlotWidth = 1;
  double m_secondsPerColumn = 1;
  // The legend's names cut to the room they have, for the width they were cut for.
  std::vector<QString> m_elided;
  int m_nElidedWidth = -1;
  std::vector<QString> m_drawnValues;  // the legend's values as last drawn, by trace
  // The values without a cursor as worked out at the last tick to tell which changed, by
  // trace, while no tick has come since: the repaint that follows draws them without working
  // them out again.
  std::vector<QString> m_tickValues;
  bool m_bTickValues = false;
  // The width of the legend's value column, measured once for each font: asked at every tick;
  // the widest units and name, measured when the channels or the font change; the scale's.
  int m_nValueWidth = 0;
  int m_nUnitsWidth = 0;
  int m_nNameWidth = 0;
  int m_nAxisWidth = 0;
  // The font's glyphs, from which the values are drawn without laying them out as text.
  std::optional<AsciiGlyphs> m_glyphs;
};

}  // namespace lcu::gui
