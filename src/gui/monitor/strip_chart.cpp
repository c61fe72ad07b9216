#include "gui/monitor/strip_chart.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include <QActionGroup>
#include <QContextMenuEvent>
#include <QGlyphRun>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>

#include "core/channels/channel_conversion.h"
#include "core/monitor/csv_record.h"
#include "core/monitor/monitor_row.h"
#include "gui/app/gui_prompter.h"
#include "gui/app/qt_text.h"
#include "gui/monitor/chart_range_dlg.h"
#include "gui/monitor/chart_texts.h"

namespace lcu::gui {

namespace {

// Colours of the traces, in trace order, repeated after the last: told apart on white.
constexpr std::array<QRgb, 10> kTraceColours = {0x1f77b4, 0xd62728, 0x2ca02c, 0xff7f0e, 0x9467bd,
                                                0x8c564b, 0xe377c2, 0x17becf, 0x7f7f7f, 0xbcbd22};
constexpr int kMargin = 4;
constexpr int kSwatch = 10;
// The legend takes this share of the width, within these bounds.
constexpr double kLegendShare = 0.4;
constexpr int kLegendLeast = 120;
constexpr int kLegendMost = 280;
// Vertical grid lines across the span.
constexpr int kGridDivisions = 6;
constexpr int kSecondsPerMinute = 60;
// Below this many ticks per pixel column a trace is drawn point to point.
constexpr double kDecimateAbove = 2.0;
// An automatic range that a value leaves is widened by this share of the values' extent on
// that side; one that the values take less of than this share is drawn in to them.
constexpr double kAutoHeadroom = 0.25;
constexpr double kAutoLeast = 0.5;
// A tick further outside the plot than this many plot widths is drawn at that distance.
constexpr long long kFarColumns = 4;
// The widest value the legend's value column shows whole.
constexpr const char* kValueSample = "-00000.000";

QColor TraceColour(std::size_t trace) { return QColor::fromRgb(kTraceColours[trace % kTraceColours.size()]); }

QString SpanText(std::uint32_t seconds) {
  if (seconds >= static_cast<std::uint32_t>(kSecondsPerMinute) && seconds % kSecondsPerMinute == 0) {
    return ToQString(text::kSpanMinutes).arg(seconds / kSecondsPerMinute);
  }
  return ToQString(text::kSpanSeconds).arg(seconds);
}

}  // namespace

CStripChart::CStripChart(MonitorDocument& document, LcuSession& session, const AppState& app, Clock& clock,
                         GuiPrompter& prompter, QWidget* parent)
    : QWidget(parent),
      m_document(document),
      m_session(session),
      m_app(app),
      m_clock(clock),
      m_prompter(prompter),
      m_origin(clock.Monotonic()) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::ClickFocus);
  setMouseTracking(false);
  setMinimumHeight(fontMetrics().height() * 4);
  m_nValueWidth = fontMetrics().horizontalAdvance(QString::fromLatin1(kValueSample));
  m_document.AddObserver(*this);
  m_session.Subscribe(*this);
  OnRowsChanged(m_document);
}

CStripChart::~CStripChart() {
  m_session.Unsubscribe(*this);
  m_document.RemoveObserver(*this);
}

double CStripChart::Now() const {
  return std::chrono::duration<double>(m_clock.Monotonic() - m_origin).count();
}

void CStripChart::OnRowsChanged(const MonitorDocument& document) {
  const std::span<const std::uint16_t> channels = document.Channels();
  const std::size_t traces = std::min(channels.size(), kMaxChartTraces);
  // A relabel keeps the same channels: the traces keep their past.
  const bool same = traces == m_traces.size() &&
                    std::equal(m_traces.begin(), m_traces.end(), channels.begin(),
                               [](const Trace& t, std::uint16_t channel) { return t.channel == channel; });
  m_traces.clear();
  for (std::size_t i = 0; i < traces; ++i) {
    const ChannelDefinition& definition = m_app.m_channelTable[channels[i]];
    m_traces.push_back({channels[i], definition.decimals,
                        ToQString(CsvHeading(definition.NameText(), definition.UnitsText()))});
  }
  if (!same) {
    m_history.SetTraces(traces);
    ++m_nTracesGeneration;
    m_auto.clear();
    m_cursor.reset();
  }
  m_values.resize(traces);
  m_auto.resize(traces);
  m_nElidedWidth = -1;
  m_bTickValues = false;
  Changed();
}

void CStripChart::OnReadings(const MonitorDocument& document, std::span<const std::uint32_t> raw, const LocalTime&) {
  if (&document != &m_document) return;
  m_bTickValues = false;
  for (std::size_t i = 0; i < m_values.size(); ++i) {
    m_values[i] = i < raw.size() ? ConvertReading(m_app.m_calibration, raw[i], m_traces[i].channel)
                                 : std::numeric_limits<double>::quiet_NaN();
  }
  m_history.Add(Now(), m_values);
  Ticked();
}

void CStripChart::OnMissedReadings(const MonitorDocument& document, const LocalTime&) {
  if (&document != &m_document) return;
  m_bTickValues = false;
  m_history.AddGap(Now());
  Ticked();
}

void CStripChart::Changed() {
  if (isVisible() && !IsPaused()) update();
}

// A tick moves the traces and the values; the legend's labels and the time axis stay.
void CStripChart::Ticked() {
  if (!isVisible() || IsPaused()) return;
  QRegion changed(PlotArea());
  const QRect column = ValueColumn();
  if (m_cursor) {
    changed += column;
  } else {
    // Only the values whose text changed: drawing text is a tick's dearest part.
    const int line = fontMetrics().height();
    m_drawnValues.resize(m_traces.size());
    int y = column.top();
    m_tickValues.clear();
    for (std::size_t trace = 0; trace < m_traces.size() && y + line <= column.bottom(); ++trace, y += line) {
      m_tickValues.push_back(ValueText(trace));
      if (m_tickValues[trace] != m_drawnValues[trace]) changed += QRect(column.left(), y, column.width(), line);
    }
    m_bTickValues = true;
  }
  update(changed);
}

void CStripChart::SetSpan(std::uint32_t seconds) {
  m_nSpan = std::clamp(seconds, static_cast<std::uint32_t>(kShortestChartSpan),
                       static_cast<std::uint32_t>(kLongestChartSpan));
  std::fill(m_auto.begin(), m_auto.end(), std::nullopt);
  update();
}

void CStripChart::SetPaused(bool paused) {
  if (paused == IsPaused()) return;
  if (paused) {
    m_pausedAt = RightEdge();
  } else {
    m_pausedAt.reset();
  }
  update();
}

double CStripChart::RightEdge() const {
  if (m_pausedAt) return *m_pausedAt;
  return m_history.Newest().value_or(Now());
}

void CStripChart::SetFixedRange(std::uint16_t channel, std::optional<ChartRange> range) {
  if (range) {
    m_fixed[channel] = *range;
  } else {
    m_fixed.erase(channel);
  }
  update();
}

ChartRange CStripChart::RangeOf(std::size_t trace) const {
  if (trace >= m_traces.size()) return {};
  const auto fixed = m_fixed.find(m_traces[trace].channel);
  if (fixed != m_fixed.end()) return fixed->second;
  if (trace < m_auto.size() && m_auto[trace]) return *m_auto[trace];
  const double right = RightEdge();
  return m_history.AutoRange(trace, right - m_nSpan, right);
}

void CStripChart::SetCursor(std::optional<double> time) {
  m_cursor = time;
  update();
}

std::optional<double> CStripChart::ShownValue(std::size_t trace) const {
  if (m_cursor) {
    const std::optional<ChartSample> sample = m_history.ValueUnder(trace, *m_cursor);
    if (!sample) return std::nullopt;
    return sample->value;
  }
  if (m_history.Size() == 0) return std::nullopt;
  return m_history.ValueAt(trace, m_history.Size() - 1);
}

QString CStripChart::ValueText(std::size_t trace) const {
  const std::optional<double> value = ShownValue(trace);
  return value ? ToQString(FormatValueCell(*value, m_traces[trace].decimals)) : ToQString(text::kNoValue);
}

QString CStripChart::ShownValueText(std::size_t trace) const {
  return !m_cursor && m_bTickValues && trace < m_tickValues.size() ? m_tickValues[trace] : ValueText(trace);
}

QString CStripChart::LegendText(std::size_t trace) const {
  if (trace >= m_traces.size()) return {};
  return m_traces[trace].label + QStringLiteral("  ") + ValueText(trace);
}

WindowChart CStripChart::Layout() const {
  WindowChart chart;
  chart.paused = IsPaused();
  chart.spanSeconds = m_nSpan;
  for (const auto& [channel, range] : m_fixed) {
    if (chart.ranges.size() == kMaxChartTraces) break;
    chart.ranges.push_back({channel, range});
  }
  return chart;
}

void CStripChart::ApplyLayout(const WindowChart& chart) {
  SetSpan(chart.spanSeconds);
  m_fixed.clear();
  for (const FixedRange& fixed : chart.ranges) m_fixed[fixed.channel] = fixed.range;
  SetPaused(chart.paused);
  update();
}

int CStripChart::LegendWidth() const {
  return std::clamp(static_cast<int>(width() * kLegendShare), kLegendLeast, kLegendMost);
}

QRect CStripChart::PlotArea() const {
  const int axis = fontMetrics().height() + kMargin;
  return QRect(kMargin, kMargin, std::max(1, width() - LegendWidth() - 2 * kMargin),
               std::max(1, height() - axis - 2 * kMargin));
}

const QPixmap& CStripChart::Background() {
  const qreal ratio = devicePixelRatioF();
  if (m_background.deviceIndependentSize() != QSizeF(size()) || m_background.devicePixelRatio() != ratio ||
      m_nBackgroundSpan != m_nSpan) {
    m_background = QPixmap(size() * ratio);
    m_background.setDevicePixelRatio(ratio);
    m_background.fill(palette().base().color());
    QPainter painter(&m_background);
    painter.setFont(font());
    DrawGrid(painter, PlotArea(), m_nSpan);
    m_nBackgroundSpan = m_nSpan;
  }
  return m_background;
}

QRect CStripChart::LegendArea() const {
  const QRect plot = PlotArea();
  return {plot.right() + 2 * kMargin, kMargin, LegendWidth() - kMargin, height() - 2 * kMargin};
}

QRect CStripChart::ValueColumn() const {
  const QRect legend = LegendArea();
  return {legend.right() - m_nValueWidth, legend.top(), m_nValueWidth + 1, legend.height()};
}

void CStripChart::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect plot = PlotArea();
  // The kept background under the parts repainted (the painter keeps to them), and the
  // traces over it.
  const QRect exposed = event->rect();
  const qreal ratio = devicePixelRatioF();
  painter.drawPixmap(exposed, Background(), QRectF(QPointF(exposed.topLeft()) * ratio, QSizeF(exposed.size()) * ratio));
  painter.drawImage(plot.topLeft(), Traces(plot));
  const double to = RightEdge();
  const double from = to - m_nSpan;
  if (m_cursor && *m_cursor >= from && *m_cursor <= to) {
    const int x = plot.left() + static_cast<int>(std::lround((*m_cursor - from) / m_nSpan * plot.width()));
    painter.setPen(QPen(palette().text().color(), 1, Qt::DashLine));
    painter.drawLine(x, plot.top(), x, plot.bottom());
  }
  if (IsPaused()) {
    painter.setPen(palette().text().color());
    painter.drawText(plot.adjusted(kMargin, kMargin, 0, 0), Qt::AlignLeft | Qt::AlignTop, ToQString(text::kPausedMark));
  }
  DrawLegend(painter, LegendArea(), event->region());
}

void CStripChart::DrawGridLines(QPainter& painter, const QRect& plot) const {
  painter.setPen(palette().mid().color());
  painter.drawRect(plot.adjusted(0, 0, -1, -1));
  for (int i = 1; i < kGridDivisions; ++i) {
    const int x = plot.left() + plot.width() * i / kGridDivisions;
    painter.drawLine(x, plot.top(), x, plot.bottom());
  }
}

void CStripChart::DrawGrid(QPainter& painter, const QRect& plot, double span) const {
  DrawGridLines(painter, plot);
  const int baseline = plot.bottom() + fontMetrics().ascent() + kMargin / 2;
  painter.setPen(palette().text().color());
  // From the newest line leftwards; a label that would run into the one to its right is left
  // out, so a narrow chart shows fewer times rather than times drawn over one another.
  int room = plot.right() + 1;
  for (int i = kGridDivisions; i >= 0; --i) {
    const int x = plot.left() + plot.width() * i / kGridDivisions;
    const double ago = span * (kGridDivisions - i) / kGridDivisions;
    const QString label = ToQString(text::kAxisSeconds).arg(ago == 0 ? 0 : -ago, 0, 'g', 4);
    const int labelWidth = fontMetrics().horizontalAdvance(label);
    const int left = std::clamp(x - labelWidth / 2, plot.left(), plot.right() - labelWidth);
    if (left + labelWidth > room) continue;
    painter.drawText(left, baseline, label);
    room = left - kMargin;
  }
}

const QImage& CStripChart::Traces(const QRect& plot) {
  const double to = RightEdge();
  const ChartHistory::Span span = m_history.Window(to - m_nSpan, to);
  const qreal ratio = devicePixelRatioF();
  const int width = plot.width();
  m_nPlotWidth = width;
  m_secondsPerColumn = static_cast<double>(m_nSpan) / width;
  m_nRightColumn = std::llround(to / m_secondsPerColumn);

  TracesKey& key = m_nextKey;
  key.size = plot.size();
  key.ratio = ratio;
  key.span = m_nSpan;
  key.decimate = static_cast<double>(span.last - span.first) > kDecimateAbove * width;
  key.traces = m_nTracesGeneration;
  UpdateAutoRanges(to - m_nSpan, to);
  key.ranges.clear();
  for (std::size_t trace = 0; trace < m_traces.size(); ++trace) key.ranges.push_back(RangeOf(trace));

  const long long moved = m_nRightColumn - m_nTracesRight;
  // Whole device pixels are moved, so a fractional ratio draws afresh every time.
  const bool whole = ratio == std::floor(ratio);
  if (key == m_tracesKey && whole && moved >= 0 && moved < width && !m_tracesImage.isNull()) {
    if (moved == 0 && m_tracesNewest == m_history.Newest()) return m_tracesImage;
    // The old right edge's column and the one before are drawn again: the newest column may
    // have taken more ticks since, which moves the line into it from the column before, and a
    // line ran from there towards the next tick.
    const int redrawn = std::max(0, width - 2 - static_cast<int>(moved));
    const int scale = static_cast<int>(ratio);
    const std::size_t shift = static_cast<std::size_t>(moved) * static_cast<std::size_t>(scale) * 4;
    const std::size_t kept = static_cast<std::size_t>(redrawn * scale) * 4;
    const std::size_t bytes = static_cast<std::size_t>(m_tracesImage.width()) * 4;
    for (int y = 0; y < m_tracesImage.height(); ++y) {
      uchar* line = m_tracesImage.scanLine(y);
      std::memmove(line, line + shift, kept);
      std::memset(line + kept, 0, bytes - kept);
    }
    // From the tick before the first in the redrawn columns, taking the whole column of that
    // tick, so that its lowest and highest values are the ones drawn before.
    std::size_t first = span.last;
    while (first > span.first && ColumnOf(m_history.TimeAt(first - 1)) >= redrawn) --first;
    if (first > span.first) {
      --first;
      const int column = ColumnOf(m_history.TimeAt(first));
      while (first > span.first && ColumnOf(m_history.TimeAt(first - 1)) == column) --first;
    }
    DrawTraces({first, span.last}, key.decimate, redrawn);
  } else {
    if (m_tracesImage.size() != plot.size() * ratio || m_tracesImage.devicePixelRatio() != ratio) {
      m_tracesImage = QImage(plot.size() * ratio, QImage::Format_ARGB32_Premultiplied);
      m_tracesImage.setDevicePixelRatio(ratio);
    }
    m_tracesImage.fill(Qt::transparent);
    std::swap(m_tracesKey, m_nextKey);
    DrawTraces(span, m_tracesKey.decimate, 0);
  }
  m_nTracesRight = m_nRightColumn;
  m_tracesNewest = m_history.Newest();
  return m_tracesImage;
}

void CStripChart::UpdateAutoRanges(double from, double to) {
  for (std::size_t trace = 0; trace < m_auto.size(); ++trace) {
    std::optional<ChartRange>& kept = m_auto[trace];
    const ChartRange fresh = m_history.AutoRange(trace, from, to);
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

int CStripChart::ColumnOf(double time) const {
  const long long column = m_nPlotWidth - 1 - (m_nRightColumn - std::llround(time / m_secondsPerColumn));
  // Far outside the plot a tick only sets the slope of the line into it.
  return static_cast<int>(std::clamp(column, -kFarColumns * m_nPlotWidth, kFarColumns * m_nPlotWidth));
}

void CStripChart::DrawTraces(ChartHistory::Span span, bool decimate, int clipLeft) {
  m_columns.clear();
  for (std::size_t i = span.first; i < span.last; ++i) m_columns.push_back(ColumnOf(m_history.TimeAt(i)));
  QPainter painter(&m_tracesImage);
  const QSizeF size = m_tracesImage.deviceIndependentSize();
  if (clipLeft > 0) painter.setClipRect(QRectF(clipLeft, 0, size.width() - clipLeft, size.height()));
  for (std::size_t trace = 0; trace < m_traces.size(); ++trace) DrawTrace(painter, trace, span, decimate);
}

// A trace over more ticks than pixel columns is drawn as each column's lowest and highest
// value, which shows every peak at a cost of the plot's width, not of the span.
void CStripChart::DrawTrace(QPainter& painter, std::size_t trace, ChartHistory::Span span, bool decimate) {
  if (span.last <= span.first) return;
  const ChartRange& range = m_tracesKey.ranges[trace];
  const double bottom = m_tracesImage.deviceIndependentSize().height() - 1;
  // Points are kept inside the plot: a value beyond a fixed range runs along its edge.
  const auto yOf = [&](double v) {
    const double y = (1.0 - range.Fraction(v)) * bottom;
    return static_cast<int>(std::lround(std::isfinite(y) ? std::clamp(y, 0.0, bottom) : bottom));
  };
  // A cosmetic pen: one pixel wide, drawn by the painter's fast line path.
  painter.setPen(QPen(TraceColour(trace), 0));
  QPolygon& line = m_line;
  line.resize(0);
  const auto flush = [&] {
    if (line.size() == 1) painter.drawPoint(line.front());
    if (line.size() > 1) painter.drawPolyline(line);
    line.resize(0);
  };
  long column = std::numeric_limits<long>::min();
  double low = 0;
  double high = 0;
  const auto endColumn = [&] {
    if (column == std::numeric_limits<long>::min()) return;
    const int x = static_cast<int>(column);
    line << QPoint(x, yOf(low)) << QPoint(x, yOf(high));
  };
  for (std::size_t i = span.first; i < span.last; ++i) {
    const std::optional<double> value = m_history.ValueAt(trace, i);
    if (!value || !std::isfinite(*value)) {
      if (decimate) endColumn();
      column = std::numeric_limits<long>::min();
      flush();
      continue;
    }
    const int x = m_columns[i - span.first];
    if (!decimate) {
      line << QPoint(x, yOf(*value));
      continue;
    }
    const long here = x;
    if (here != column) {
      endColumn();
      column = here;
      low = high = *value;
    } else {
      low = std::min(low, *value);
      high = std::max(high, *value);
    }
  }
  if (decimate) endColumn();
  flush();
}

// Each line: the trace's colour, its label (cut in the middle when the room is short) and its
// value at the right.
void CStripChart::DrawLegend(QPainter& painter, const QRect& area, const QRegion& region) {
  const bool labels = region.intersects(area.adjusted(0, 0, -ValueColumn().width(), 0));
  const QFontMetrics metrics = fontMetrics();
  const int line = metrics.height();
  const int textWidth = area.width() - kSwatch - kMargin;
  const int valueWidth = ValueColumn().width();
  if (m_nElidedWidth != textWidth) {
    m_elided.clear();
    for (const Trace& trace : m_traces) {
      m_elided.push_back(metrics.elidedText(trace.label, Qt::ElideMiddle, std::max(0, textWidth - valueWidth - kMargin)));
    }
    m_nElidedWidth = textWidth;
  }
  if (!m_glyphs || m_glyphs->Font() != font()) m_glyphs.emplace(font());
  painter.setPen(palette().text().color());
  m_drawnValues.resize(m_traces.size());
  int y = area.top();
  for (std::size_t trace = 0; trace < m_traces.size() && y + line <= area.bottom(); ++trace) {
    const QRect textArea(area.left() + kSwatch + kMargin, y, textWidth, line);
    if (labels) {
      painter.fillRect(QRect(area.left(), y + (line - kSwatch) / 2, kSwatch, kSwatch), TraceColour(trace));
      painter.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter, m_elided[trace]);
    }
    if (labels || region.intersects(QRect(textArea.right() - valueWidth, y, valueWidth + 1, line))) {
      m_drawnValues[trace] = ShownValueText(trace);
      DrawValue(painter, textArea, metrics.ascent(), m_drawnValues[trace]);
    }
    y += line;
  }
  if (m_cursor) {
    painter.setPen(palette().text().color());
    // Beside the values, so that a tick's repaint keeps it current.
    const QString ago = ToQString(text::kAxisSeconds).arg(*m_cursor - RightEdge(), 0, 'f', 1);
    painter.drawText(QRect(area.left(), y, area.width(), line), Qt::AlignRight | Qt::AlignVCenter, ago);
  }
}

// Values change at every tick: they are drawn from the font's glyphs, as text only when a
// character has no glyph there or the value is wider than its line (which text layout shows
// the same way the labels are shown).
void CStripChart::DrawValue(QPainter& painter, const QRect& textArea, int ascent, const QString& text) {
  QGlyphRun run;
  const std::optional<qreal> width = m_glyphs->Run(text, run);
  if (!width || *width > textArea.width()) {
    painter.drawText(textArea, Qt::AlignRight | Qt::AlignVCenter, text);
    return;
  }
  painter.drawGlyphRun(QPointF(textArea.right() + 1 - *width, textArea.top() + ascent), run);
}

void CStripChart::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) {
    m_nValueWidth = fontMetrics().horizontalAdvance(QString::fromLatin1(kValueSample));
    m_nElidedWidth = -1;
    m_background = QPixmap();
  }
  QWidget::changeEvent(event);
}

void CStripChart::CursorFromX(int x) {
  const QRect plot = PlotArea();
  const double share = std::clamp(static_cast<double>(x - plot.left()) / plot.width(), 0.0, 1.0);
  SetCursor(RightEdge() - m_nSpan * (1.0 - share));
}

void CStripChart::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  CursorFromX(event->position().toPoint().x());
}

void CStripChart::mouseMoveEvent(QMouseEvent* event) {
  if ((event->buttons() & Qt::LeftButton) != 0) CursorFromX(event->position().toPoint().x());
}

// Space pauses and resumes; Left and Right move the cursor a tick's time; Escape clears it.
void CStripChart::keyPressEvent(QKeyEvent* event) {
  constexpr double kStep = 0.2;
  switch (event->key()) {
    case Qt::Key_Space: SetPaused(!IsPaused()); break;
    case Qt::Key_Escape: SetCursor(std::nullopt); break;
    case Qt::Key_Left: SetCursor(m_cursor.value_or(RightEdge()) - kStep); break;
    case Qt::Key_Right: SetCursor(std::min(m_cursor.value_or(RightEdge()) + kStep, RightEdge())); break;
    default: QWidget::keyPressEvent(event); return;
  }
  event->accept();
}

void CStripChart::contextMenuEvent(QContextMenuEvent* event) {
  event->accept();
  QMenu menu(this);
  QAction* pause = menu.addAction(ToQString(IsPaused() ? text::kResumeChartItem : text::kPauseChartItem));
  connect(pause, &QAction::triggered, this, [this] { SetPaused(!IsPaused()); });
  menu.addSeparator();
  auto* spans = new QActionGroup(&menu);
  for (const std::uint32_t seconds : kChartSpans) {
    QAction* item = menu.addAction(SpanText(seconds));
    item->setCheckable(true);
    item->setChecked(seconds == m_nSpan);
    spans->addAction(item);
    connect(item, &QAction::triggered, this, [this, seconds] { SetSpan(seconds); });
  }
  menu.addSeparator();
  QAction* range = menu.addAction(ToQString(text::kChartRangeItem));
  range->setEnabled(!m_traces.empty());
  connect(range, &QAction::triggered, this, &CStripChart::OnSetRange);
  QAction* clear = menu.addAction(ToQString(text::kClearCursorItem));
  clear->setEnabled(m_cursor.has_value());
  connect(clear, &QAction::triggered, this, [this] { SetCursor(std::nullopt); });
  m_prompter.RunPopupMenu(menu, event->globalPos());
}

void CStripChart::OnSetRange() {
  std::vector<CChartRangeDlg::Trace> traces;
  for (std::size_t trace = 0; trace < m_traces.size(); ++trace) {
    const auto fixed = m_fixed.find(m_traces[trace].channel);
    traces.push_back({m_traces[trace].label,
                      fixed == m_fixed.end() ? std::nullopt : std::optional<ChartRange>(fixed->second), RangeOf(trace)});
  }
  if (traces.empty()) return;
  CChartRangeDlg dialog(m_prompter, std::move(traces), 0, this);
  if (!m_prompter.RunModal(dialog)) return;
  SetFixedRange(m_traces[static_cast<std::size_t>(dialog.m_nTrace)].channel, dialog.m_range);
}

}  // namespace lcu::gui
