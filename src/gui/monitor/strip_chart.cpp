#include "gui/monitor/strip_chart.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>

#include <QActionGroup>
#include <QContextMenuEvent>
#include <QGlyphRun>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QToolTip>
#include <QWheelEvent>

#include "core/monitor/chart_palette.h"
#include "core/monitor/chart_scale.h"
#include "gui/app/gui_prompter.h"
#include "gui/app/qt_text.h"
#include "gui/monitor/chart_range_dlg.h"
#include "gui/monitor/chart_texts.h"
#include "gui/monitor/last_read_text.h"

namespace lcu::gui {

namespace {

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
// A tick further outside the plot than this many plot widths is drawn at that distance.
constexpr long long kFarColumns = 4;
// The widest value the legend's value column shows whole, and the widest scale label.
constexpr const char* kLegendValueSample = "-00000.000";
constexpr const char* kScaleSample = "-0000.00";
// A name cut in the middle still reads with this many characters' room; with less beside its
// value the legend gives each channel two lines.
constexpr int kReadableName = 12;
// Rows between lanes; the share of a lane's label box that hides the traces under it.
constexpr int kLaneSpacing = 3;
constexpr int kLaneLabelAlpha = 140;
// Labels of a scale are at least this many lines apart.
constexpr int kScaleLinesApart = 2;
// The chart is drawn on paper of its own, whatever the desktop's colours, so that its traces'
// colours keep their contrast.
constexpr QRgb kChartText = 0x000000;
constexpr QRgb kChartGrid = 0xb4b4b4;
constexpr QRgb kStaleText = 0x8c8c8c;
constexpr QRgb kPickedRow = 0xdde8f3;
constexpr QRgb kPointedRow = 0xeef3f9;
// How often a chart looks whether its readings stopped coming.
constexpr std::chrono::milliseconds kLiveCheckPeriod{500};

QColor TraceColour(std::size_t trace) { return QColor::fromRgb(ChartColour(trace)); }

QString SpanText(std::uint32_t seconds) {
  if (seconds >= static_cast<std::uint32_t>(kSecondsPerMinute) && seconds % kSecondsPerMinute == 0) {
    return ToQString(text::kSpanMinutes).arg(seconds / kSecondsPerMinute);
  }
  return ToQString(text::kSpanSeconds).arg(seconds);
}

}  // namespace

StripChart::StripChart(MonitorDocument& document, LcuSession& session, const AppState& app, Clock& clock,
                       GuiPrompter& prompter, QWidget* parent)
    : QWidget(parent),
      m_document(document),
      m_session(session),
      m_prompter(prompter),
      m_model(app, clock),
      m_pLegendScroll(new QScrollBar(Qt::Vertical, this)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::ClickFocus);
  // The legend's rows follow the pointer: the overlay shows the scale of the one under it.
  setMouseTracking(true);
  setMinimumHeight(fontMetrics().height() * 4);
  QPalette paper = palette();
  paper.setColor(QPalette::Base, QColor::fromRgb(kChartBackground));
  paper.setColor(QPalette::Text, QColor::fromRgb(kChartText));
  paper.setColor(QPalette::Mid, QColor::fromRgb(kChartGrid));
  setPalette(paper);
  m_pLegendScroll->hide();
  m_pLegendScroll->setSingleStep(1);
  connect(m_pLegendScroll, &QScrollBar::valueChanged, this, [this](int row) {
    m_nLegendFirst = static_cast<std::size_t>(std::max(0, row));
    update(LegendArea());
  });
  m_liveTimer.setInterval(kLiveCheckPeriod);
  connect(&m_liveTimer, &QTimer::timeout, this, &StripChart::OnLiveCheck);
  m_document.AddObserver(*this);
  m_session.Subscribe(m_document, *this);
  OnRowsChanged(m_document);
}

StripChart::~StripChart() {
  m_session.Unsubscribe(m_document, *this);
  m_document.RemoveObserver(*this);
}

void StripChart::OnRowsChanged(const MonitorDocument& document) {
  m_model.SetChannels(document.Channels());
  m_texts.clear();
  for (std::size_t trace = 0; trace < m_model.TraceCount(); ++trace) {
    const ChartTrace& t = m_model.Trace(trace);
    m_texts.push_back({ToQString(t.name), ToQString(t.units), ToQString(t.label)});
  }
  m_laneTexts.clear();
  m_laneLabels.clear();
  m_nLanesHeight = -1;
  m_background = QPixmap();
  Measure();
  m_bTickValues = false;
  Changed();
}

void StripChart::OnReadings(const MonitorDocument&, std::span<const std::uint32_t> raw, const LocalTime& taken) {
  m_bTickValues = false;
  m_model.TakeReadings(raw, taken);
  Ticked();
}

void StripChart::OnMissedReadings(const MonitorDocument&, const LocalTime&) {
  m_bTickValues = false;
  m_model.TakeMissedReadings();
  Ticked();
}

void StripChart::Changed() {
  if (isVisible() && !m_model.IsPaused()) update();
}

// A tick moves the traces and the values; the legend's labels and the time axis stay, and
// so does the scale unless the tick changed its range.
void StripChart::Ticked() {
  if (!isVisible() || m_model.IsPaused()) return;
  if (m_model.IsStale() != m_bStale) {
    update();
    return;
  }
  QRegion changed(PlotArea());
  m_model.UpdateAutoRanges(m_model.RightEdge());
  if (m_model.View() == ChartView::kOverlay && CurrentAxis() != m_drawnAxis) changed += AxisArea();
  const LegendGeometry legend = Legend();
  if (StatusText() != m_drawnStatus) changed += legend.status;
  const std::size_t traces = m_model.TraceCount();
  m_tickValues.assign(traces, QString());
  m_drawnValues.resize(traces);
  const std::size_t last = std::min(traces, legend.layout.firstRow + legend.layout.rowsShown);
  // Only the values whose text changed, as one rectangle from the first to the last of
  // them: drawing text is a tick's dearest part, and a region of many rectangles costs at
  // every step of the repaint.
  QRect values;
  for (std::size_t trace = legend.layout.firstRow; trace < last; ++trace) {
    m_tickValues[trace] = ValueText(trace);
    if (m_tickValues[trace] != m_drawnValues[trace]) values |= ValueRect(legend, trace);
  }
  m_bTickValues = !m_model.Cursor();
  update(changed + values);
}

void StripChart::OnLiveCheck() {
  if (m_model.IsPaused()) return;
  // Stale values move on with the time: the traces' gap grows and the legend says how old
  // the values are.
  if (m_model.IsStale() || m_bStale) update();
}

void StripChart::Measure() {
  const QFontMetrics metrics = fontMetrics();
  m_nValueWidth = metrics.horizontalAdvance(QString::fromLatin1(kLegendValueSample));
  m_nAxisWidth = metrics.horizontalAdvance(QString::fromLatin1(kScaleSample)) + 2 * kMargin;
  m_nUnitsWidth = 0;
  m_nNameWidth = 0;
  for (const TraceTexts& trace : m_texts) {
    m_nUnitsWidth = std::max(m_nUnitsWidth, metrics.horizontalAdvance(trace.units));
    m_nNameWidth = std::max(m_nNameWidth, metrics.horizontalAdvance(trace.name));
  }
  m_nElidedWidth = -1;
}

void StripChart::SetSpan(std::uint32_t seconds) {
  m_model.SetSpan(seconds);
  update();
}

void StripChart::SetPaused(bool paused) {
  if (m_model.SetPaused(paused)) update();
}

QString StripChart::StatusText() const {
  if (const std::optional<double> cursor = m_model.Cursor()) {
    const QString ago = ToQString(text::kAxisSeconds).arg(*cursor - m_model.RightEdge(), 0, 'f', 1);
    return m_model.IsCursorOutside() ? ToQString(text::kCursorOutside).arg(ago) : ago;
  }
  if (!m_model.IsStale()) return {};
  return LastReadText(m_model.LastReadAt(), static_cast<std::int64_t>(m_model.SecondsSinceReading()));
}

void StripChart::SetView(ChartView view) {
  if (!m_model.SetView(view)) return;
  m_nElidedWidth = -1;
  update();
}

void StripChart::Select(std::optional<std::size_t> trace) {
  m_model.Select(trace);
  update();
}

StripChart::AxisKey StripChart::CurrentAxis() const {
  const std::optional<std::size_t> trace = m_model.AxisTrace();
  return {m_model.View(), trace, trace ? m_model.RangeOf(*trace) : ChartRange{}, PlotArea().height()};
}

void StripChart::SetFixedRange(std::uint16_t channel, std::optional<ChartRange> range) {
  m_model.SetFixedRange(channel, range);
  update();
}

void StripChart::SetCursor(std::optional<double> time) {
  m_model.SetCursor(time);
  update();
}

QString StripChart::ValueText(std::size_t trace) const {
  const std::optional<std::string> value = m_model.ShownValueText(trace);
  return value ? ToQString(*value) : ToQString(text::kNoValue);
}

QString StripChart::ShownValueText(std::size_t trace) const {
  return !m_model.Cursor() && m_bTickValues && trace < m_tickValues.size() ? m_tickValues[trace] : ValueText(trace);
}

QString StripChart::LegendText(std::size_t trace) const {
  if (trace >= m_texts.size()) return {};
  const TraceTexts& t = m_texts[trace];
  return t.name + QStringLiteral("  ") + ValueText(trace) +
         (t.units.isEmpty() ? QString() : QStringLiteral(" ") + t.units);
}

void StripChart::ApplyLayout(const WindowChart& chart) {
  const ChartView before = m_model.View();
  m_model.ApplyLayout(chart);
  if (m_model.View() != before) m_nElidedWidth = -1;
  update();
}

int StripChart::LegendWidth() const {
  return std::clamp(static_cast<int>(width() * kLegendShare), kLegendLeast, kLegendMost);
}

int StripChart::AxisWidth() const { return m_model.View() == ChartView::kOverlay ? m_nAxisWidth : 0; }

QRect StripChart::PlotArea() const {
  const int axis = fontMetrics().height() + kMargin;
  const int left = kMargin + AxisWidth();
  return QRect(left, kMargin, std::max(1, width() - LegendWidth() - kMargin - left),
               std::max(1, height() - axis - 2 * kMargin));
}

QRect StripChart::AxisArea() const {
  const QRect plot = PlotArea();
  // Labels at the plot's top and bottom reach half a line beyond it.
  const int half = fontMetrics().height() / 2 + 1;
  return {0, std::max(0, plot.top() - half), plot.left(), plot.height() + 2 * half};
}

const QPixmap& StripChart::Background() {
  const qreal ratio = devicePixelRatioF();
  if (m_background.deviceIndependentSize() != QSizeF(size()) || m_background.devicePixelRatio() != ratio ||
      m_nBackgroundSpan != m_model.Span() || m_backgroundView != m_model.View() ||
      m_nBackgroundTraces != m_model.TraceCount()) {
    m_background = QPixmap(size() * ratio);
    m_background.setDevicePixelRatio(ratio);
    m_background.fill(palette().base().color());
    QPainter painter(&m_background);
    painter.setFont(font());
    const QRect plot = PlotArea();
    DrawGrid(painter, plot, m_model.Span());
    if (m_model.View() == ChartView::kLanes) {
      // A line between lanes, in the room between them.
      painter.setPen(palette().mid().color());
      const std::vector<ChartLane>& lanes = Lanes(plot.height());
      for (std::size_t i = 1; i < lanes.size(); ++i) {
        const int y = plot.top() + lanes[i].top - (kLaneSpacing + 1) / 2;
        painter.drawLine(plot.left(), y, plot.right(), y);
      }
    }
    m_nBackgroundSpan = m_model.Span();
    m_backgroundView = m_model.View();
    m_nBackgroundTraces = m_model.TraceCount();
  }
  return m_background;
}

const std::vector<ChartLane>& StripChart::Lanes(int height) {
  if (m_nLanesHeight != height || m_lanes.size() != m_model.TraceCount()) {
    m_lanes = LayOutLanes(0, height, m_model.TraceCount(), kLaneSpacing);
    m_nLanesHeight = height;
  }
  return m_lanes;
}

QRect StripChart::LegendArea() const {
  const QRect plot = PlotArea();
  return {plot.right() + 1 + kMargin, kMargin, width() - plot.right() - 1 - 2 * kMargin, height() - 2 * kMargin};
}

StripChart::LegendGeometry StripChart::Legend() const {
  const QRect area = LegendArea();
  LegendGeometry legend;
  legend.line = fontMetrics().height();
  // The last line is the legend's status (two when its text is too wide for one); the rows
  // take the lines above it.
  const int statusLines = fontMetrics().horizontalAdvance(StatusText()) > area.width() ? 2 : 1;
  legend.status =
      QRect(area.left(), area.bottom() + 1 - statusLines * legend.line, area.width(), statusLines * legend.line);
  legend.rows = QRect(area.left(), area.top(), area.width(), std::max(0, legend.status.top() - area.top()));
  legend.textLeft = area.left() + kSwatch + kMargin;
  const auto fit = [&](int right) {
    legend.unitsLeft = right + 1 - m_nUnitsWidth;
    const int valueRight = m_nUnitsWidth > 0 ? legend.unitsLeft - kMargin : right + 1;
    legend.valueLeft = valueRight - m_nValueWidth;
    LegendRoom room;
    room.width = right + 1 - legend.textLeft;
    room.lines = legend.rows.height() / legend.line;
    room.nameWidth = m_nNameWidth;
    room.leastName = fontMetrics().averageCharWidth() * kReadableName;
    room.valueWidth = right + 1 - legend.valueLeft + kMargin;
    legend.layout = LayOutLegend(room, m_model.TraceCount(), m_nLegendFirst);
    legend.nameWidth =
        legend.layout.linesPerRow == 1 ? legend.valueLeft - kMargin - legend.textLeft : right + 1 - legend.textLeft;
  };
  fit(area.right());
  if (legend.layout.Scrolls(m_model.TraceCount())) {
    legend.scrollBar = true;
    fit(area.right() - style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) - kMargin);
  }
  return legend;
}

QRect StripChart::ValueRect(const LegendGeometry& legend, std::size_t trace) const {
  const ChartLegendLayout& layout = legend.layout;
  if (trace < layout.firstRow || trace >= layout.firstRow + layout.rowsShown) return {};
  const int row = static_cast<int>(trace - layout.firstRow);
  const int y = legend.rows.top() + (row * layout.linesPerRow + layout.linesPerRow - 1) * legend.line;
  return {legend.valueLeft, y, m_nValueWidth + 1, legend.line};
}

std::optional<std::size_t> StripChart::LegendRowAt(const QPoint& point) const {
  const LegendGeometry legend = Legend();
  if (!legend.rows.contains(point) || point.x() >= legend.unitsLeft + m_nUnitsWidth) return std::nullopt;
  const std::size_t row = legend.layout.firstRow + static_cast<std::size_t>((point.y() - legend.rows.top()) /
                                                                            (legend.line * legend.layout.linesPerRow));
  if (row >= m_model.TraceCount() || row >= legend.layout.firstRow + legend.layout.rowsShown) return std::nullopt;
  return row;
}

ChartLegendLayout StripChart::LegendLayout() const { return Legend().layout; }

void StripChart::ScrollLegendTo(std::size_t row) {
  m_nLegendFirst = std::min(row, Legend().layout.LastScroll(m_model.TraceCount()));
  update();
}

QString StripChart::ShownName(std::size_t trace) const {
  if (trace >= m_model.TraceCount()) return {};
  const LegendGeometry legend = Legend();
  return fontMetrics().elidedText(m_texts[trace].name, Qt::ElideMiddle, std::max(0, legend.nameWidth));
}

void StripChart::SyncScrollBar(const LegendGeometry& legend) {
  const std::size_t last = legend.layout.LastScroll(m_model.TraceCount());
  m_nLegendFirst = legend.layout.firstRow;
  if (!legend.scrollBar) {
    if (!m_pLegendScroll->isHidden()) m_pLegendScroll->hide();
    return;
  }
  const int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  const QRect area = LegendArea();
  const QRect bar(area.right() + 1 - barWidth, legend.rows.top(), barWidth, legend.rows.height());
  if (m_pLegendScroll->geometry() != bar) m_pLegendScroll->setGeometry(bar);
  const QSignalBlocker quiet(m_pLegendScroll);
  m_pLegendScroll->setRange(0, static_cast<int>(last));
  m_pLegendScroll->setPageStep(static_cast<int>(std::max<std::size_t>(1, legend.layout.rowsShown)));
  m_pLegendScroll->setValue(static_cast<int>(legend.layout.firstRow));
  if (m_pLegendScroll->isHidden()) m_pLegendScroll->show();
}

void StripChart::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  m_bStale = m_model.IsStale();
  const QRect plot = PlotArea();
  // The kept background under the parts repainted, and the traces over it. Each is drawn
  // clipped to one rectangle, for which the painter copies or blends whole lines of pixels;
  // clipped to the repainted region of several rectangles (the plot and the values a tick
  // changed) it would go through every run of pixels one by one.
  const qreal ratio = devicePixelRatioF();
  const QPixmap& background = Background();
  for (const QRect& piece : event->region()) {
    painter.setClipRect(piece);
    painter.drawPixmap(piece, background, QRectF(QPointF(piece.topLeft()) * ratio, QSizeF(piece.size()) * ratio));
  }
  painter.setClipRect(plot);
  painter.drawImage(plot.topLeft(), Traces(plot));
  if (m_model.View() == ChartView::kLanes) DrawLaneLabels(painter, plot);
  painter.setClipping(false);
  if (m_model.View() == ChartView::kOverlay && event->region().intersects(AxisArea())) DrawAxis(painter);
  const double to = m_model.RightEdge();
  const double from = to - m_model.Span();
  const std::optional<double> cursor = m_model.Cursor();
  if (cursor && *cursor >= from && *cursor <= to) {
    const int x = plot.left() + static_cast<int>(std::lround((*cursor - from) / m_model.Span() * plot.width()));
    painter.setPen(QPen(palette().text().color(), 1, Qt::DashLine));
    painter.drawLine(x, plot.top(), x, plot.bottom());
  }
  if (m_model.IsPaused()) {
    painter.setPen(palette().text().color());
    painter.drawText(plot.adjusted(kMargin, kMargin, 0, 0), Qt::AlignRight | Qt::AlignTop,
                     ToQString(text::kPausedMark));
  }
  DrawLegend(painter, LegendArea(), event->region());
}

// The overlay's scale: round values of the axis trace's range, in its colour, with a tick
// mark into the plot.
void StripChart::DrawAxis(QPainter& painter) {
  m_drawnAxis = CurrentAxis();
  if (!m_drawnAxis.trace) return;
  const QRect plot = PlotArea();
  const int line = fontMetrics().height();
  const ChartScale scale = ScaleOf(m_drawnAxis.range, std::max(2, plot.height() / (line * kScaleLinesApart)));
  const QColor colour = TraceColour(*m_drawnAxis.trace);
  painter.setPen(colour);
  if (!m_glyphs || m_glyphs->Font() != font()) m_glyphs.emplace(font());
  const double bottom = plot.height() - 1;
  const int centre = (fontMetrics().ascent() - fontMetrics().descent()) / 2;
  for (int i = 0; i < scale.count; ++i) {
    const int y =
        plot.top() + static_cast<int>(std::lround((1.0 - m_drawnAxis.range.Fraction(scale.ValueAt(i))) * bottom));
    painter.drawLine(plot.left() - kMargin, y, plot.left() - 1, y);
    DrawRightAligned(painter, plot.left() - kMargin - 2, y + centre, ToQString(scale.Label(i)));
  }
  painter.drawLine(plot.left() - 1, plot.top(), plot.left() - 1, plot.bottom());
}

// Each lane's name, units and range at its top left, on a box that keeps it readable over the
// traces. A label is as tall as a line of text, or as its lane where that is shorter; the
// lanes differ by a pixel at most, so every lane gets its label or, when the shortest cannot
// hold the letters above their descenders, none does (the legend still names each trace), and
// no lane is left out between two labelled ones. The labels are kept as images and made again
// only when their text or height changes.
void StripChart::DrawLaneLabels(QPainter& painter, const QRect& plot) {
  const std::vector<ChartLane>& lanes = Lanes(plot.height());
  const QFontMetrics metrics = fontMetrics();
  const std::size_t count = std::min(m_model.TraceCount(), lanes.size());
  if (count == 0) return;
  const auto shortest = std::min_element(lanes.begin(), lanes.begin() + static_cast<std::ptrdiff_t>(count),
                                         [](const ChartLane& a, const ChartLane& b) { return a.height < b.height; });
  if (shortest->height <= metrics.ascent()) return;
  m_laneTexts.resize(m_model.TraceCount());
  m_laneLabels.resize(m_model.TraceCount());
  const qreal ratio = devicePixelRatioF();
  for (std::size_t trace = 0; trace < count; ++trace) {
    const ChartRange range = m_model.RangeOf(trace);
    const int decimals = std::max(0, m_model.Trace(trace).decimals);
    const QString text = ToQString(text::kLaneLabel)
                             .arg(m_texts[trace].label, ToQString(ScaleText(range.low, decimals)),
                                  ToQString(ScaleText(range.high, decimals)));
    const int height = std::min(metrics.height(), lanes[trace].height);
    const QImage& kept = m_laneLabels[trace];
    if (text != m_laneTexts[trace] || kept.devicePixelRatio() != ratio ||
        kept.height() != static_cast<int>(std::lround(height * ratio))) {
      const QString shown = metrics.elidedText(text, Qt::ElideMiddle, plot.width() - 2 * kMargin);
      QImage label(QSize(metrics.horizontalAdvance(shown) + 2 * kMargin, height) * ratio,
                   QImage::Format_ARGB32_Premultiplied);
      label.setDevicePixelRatio(ratio);
      QColor box = palette().base().color();
      box.setAlpha(kLaneLabelAlpha);
      label.fill(box);
      QPainter labelPainter(&label);
      labelPainter.setFont(font());
      labelPainter.setPen(TraceColour(trace));
      labelPainter.drawText(QPoint(kMargin, metrics.ascent() + std::max(0, (height - metrics.height()) / 2)), shown);
      m_laneTexts[trace] = text;
      m_laneLabels[trace] = std::move(label);
    }
    painter.drawImage(QPoint(plot.left() + 1, plot.top() + lanes[trace].top), m_laneLabels[trace]);
  }
}

void StripChart::DrawGridLines(QPainter& painter, const QRect& plot) const {
  painter.setPen(palette().mid().color());
  painter.drawRect(plot.adjusted(0, 0, -1, -1));
  for (int i = 1; i < kGridDivisions; ++i) {
    const int x = plot.left() + plot.width() * i / kGridDivisions;
    painter.drawLine(x, plot.top(), x, plot.bottom());
  }
}

void StripChart::DrawGrid(QPainter& painter, const QRect& plot, double span) const {
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

const QImage& StripChart::Traces(const QRect& plot) {
  const double to = m_model.RightEdge();
  const ChartHistory::Span span = m_model.History().Window(to - m_model.Span(), to);
  const qreal ratio = devicePixelRatioF();
  const int width = plot.width();
  m_nPlotWidth = width;
  m_secondsPerColumn = static_cast<double>(m_model.Span()) / width;
  m_nRightColumn = std::llround(to / m_secondsPerColumn);

  TracesKey& key = m_nextKey;
  key.size = plot.size();
  key.ratio = ratio;
  key.span = m_model.Span();
  key.view = m_model.View();
  key.decimate = static_cast<double>(span.last - span.first) > kDecimateAbove * width;
  key.traces = m_model.Generation();
  m_model.UpdateAutoRanges(to);
  key.ranges.clear();
  for (std::size_t trace = 0; trace < m_model.TraceCount(); ++trace) key.ranges.push_back(m_model.RangeOf(trace));

  const long long moved = m_nRightColumn - m_nTracesRight;
  // Whole device pixels are moved, so a fractional ratio draws afresh every time.
  const bool whole = ratio == std::floor(ratio);
  if (key == m_tracesKey && whole && moved >= 0 && moved < width && !m_tracesImage.isNull()) {
    if (moved == 0 && m_tracesNewest == m_model.History().Newest()) return m_tracesImage;
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
    while (first > span.first && ColumnOf(m_model.History().TimeAt(first - 1)) >= redrawn) --first;
    if (first > span.first) {
      --first;
      const int column = ColumnOf(m_model.History().TimeAt(first));
      while (first > span.first && ColumnOf(m_model.History().TimeAt(first - 1)) == column) --first;
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
  m_tracesNewest = m_model.History().Newest();
  return m_tracesImage;
}

int StripChart::ColumnOf(double time) const {
  const long long column = m_nPlotWidth - 1 - (m_nRightColumn - std::llround(time / m_secondsPerColumn));
  // Far outside the plot a tick only sets the slope of the line into it.
  return static_cast<int>(std::clamp(column, -kFarColumns * m_nPlotWidth, kFarColumns * m_nPlotWidth));
}

void StripChart::DrawTraces(ChartHistory::Span span, bool decimate, int clipLeft) {
  m_columns.clear();
  for (std::size_t i = span.first; i < span.last; ++i) m_columns.push_back(ColumnOf(m_model.History().TimeAt(i)));
  QPainter painter(&m_tracesImage);
  const QSizeF size = m_tracesImage.deviceIndependentSize();
  if (clipLeft > 0) painter.setClipRect(QRectF(clipLeft, 0, size.width() - clipLeft, size.height()));
  if (m_model.View() == ChartView::kLanes) Lanes(static_cast<int>(size.height()));
  for (std::size_t trace = 0; trace < m_model.TraceCount(); ++trace) DrawTrace(painter, trace, span, decimate);
}

// A trace over more ticks than pixel columns is drawn as each column's lowest and highest
// value, which shows every peak at a cost of the plot's width, not of the span.
void StripChart::DrawTrace(QPainter& painter, std::size_t trace, ChartHistory::Span span, bool decimate) {
  if (span.last <= span.first) return;
  const ChartRange& range = m_tracesKey.ranges[trace];
  // The whole plot, or the trace's lane.
  double top = 0;
  double bottom = m_tracesImage.deviceIndependentSize().height() - 1;
  if (m_model.View() == ChartView::kLanes && trace < m_lanes.size()) {
    top = m_lanes[trace].top;
    bottom = m_lanes[trace].Bottom();
  }
  // Points are kept inside the plot: a value beyond a fixed range runs along its edge.
  const auto yOf = [&](double v) {
    const double y = top + (1.0 - range.Fraction(v)) * (bottom - top);
    return static_cast<int>(std::lround(std::isfinite(y) ? std::clamp(y, top, bottom) : bottom));
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
    const std::optional<double> value = m_model.History().ValueAt(trace, i);
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

// Each row: the trace's colour, its name (cut in the middle when the room is short), its value
// and its units; on one line, or the name on a line of its own when it would not read beside
// the value. The names, colours and units only when the repaint takes them in (a tick's
// leaves them as they are), and the values it takes in; greyed when they are not live.
void StripChart::DrawLegend(QPainter& painter, const QRect& area, const QRegion& region) {
  const LegendGeometry legend = Legend();
  SyncScrollBar(legend);
  const ChartLegendLayout& layout = legend.layout;
  const QFontMetrics metrics = fontMetrics();
  const int line = legend.line;
  const bool labels =
      region.intersects(QRect(area.left(), area.top(), legend.valueLeft - area.left(), area.height())) ||
      region.intersects(QRect(legend.unitsLeft, area.top(), area.right() - legend.unitsLeft, area.height()));
  if (m_nElidedWidth != legend.nameWidth) {
    m_elided.clear();
    for (const TraceTexts& trace : m_texts) {
      m_elided.push_back(metrics.elidedText(trace.name, Qt::ElideMiddle, std::max(0, legend.nameWidth)));
    }
    m_nElidedWidth = legend.nameWidth;
  }
  if (!m_glyphs || m_glyphs->Font() != font()) m_glyphs.emplace(font());
  const bool stale = m_bStale && !m_model.Cursor();
  const QColor text = palette().text().color();
  const QColor valueColour = stale ? QColor::fromRgb(kStaleText) : text;
  m_drawnValues.resize(m_model.TraceCount());
  const std::size_t last = std::min(m_model.TraceCount(), layout.firstRow + layout.rowsShown);
  painter.save();
  painter.setClipRect(legend.rows, Qt::IntersectClip);
  for (std::size_t trace = layout.firstRow; trace < last; ++trace) {
    const int y = legend.rows.top() + static_cast<int>(trace - layout.firstRow) * layout.linesPerRow * line;
    const QRect row(area.left(), y, legend.unitsLeft + m_nUnitsWidth - area.left(), layout.linesPerRow * line);
    if (m_model.Selected() == trace || m_model.Pointed() == trace) {
      painter.fillRect(row, QColor::fromRgb(m_model.Selected() == trace ? kPickedRow : kPointedRow));
    }
    const QRect value = ValueRect(legend, trace);
    if (labels) {
      painter.fillRect(QRect(area.left(), y + (line - kSwatch) / 2, kSwatch, kSwatch), TraceColour(trace));
      painter.setPen(text);
      painter.drawText(QRect(legend.textLeft, y, legend.nameWidth, line), Qt::AlignLeft | Qt::AlignVCenter,
                       m_elided[trace]);
      if (!m_texts[trace].units.isEmpty()) {
        painter.drawText(QRect(legend.unitsLeft, value.top(), m_nUnitsWidth + 1, line),
                         Qt::AlignLeft | Qt::AlignVCenter, m_texts[trace].units);
      }
    }
    if (labels || region.intersects(value)) {
      m_drawnValues[trace] = ShownValueText(trace);
      painter.setPen(valueColour);
      // One rectangle again, for the glyphs' fast path (see paintEvent).
      painter.setClipRect(value & legend.rows);
      DrawValue(painter, value, metrics.ascent(), m_drawnValues[trace]);
      painter.setClipRect(legend.rows);
    }
  }
  painter.restore();
  m_drawnStatus = StatusText();
  if (region.intersects(legend.status) && !m_drawnStatus.isEmpty()) {
    painter.setPen(m_model.Cursor() ? text : QColor::fromRgb(kStaleText));
    painter.drawText(legend.status, Qt::AlignRight | Qt::AlignBottom | Qt::TextWordWrap, m_drawnStatus);
  }
}

// Values change at every tick: they are drawn from the font's glyphs, as text only when a
// character has no glyph there or the value is wider than its room (which text layout shows
// the same way the names are shown).
void StripChart::DrawValue(QPainter& painter, const QRect& textArea, int ascent, const QString& text) {
  QGlyphRun run;
  const std::optional<qreal> width = m_glyphs->Run(text, run);
  if (!width || *width > textArea.width()) {
    painter.drawText(textArea, Qt::AlignRight | Qt::AlignVCenter, text);
    return;
  }
  painter.drawGlyphRun(QPointF(textArea.right() + 1 - *width, textArea.top() + ascent), run);
}

void StripChart::DrawRightAligned(QPainter& painter, int x, int baseline, const QString& text) {
  QGlyphRun run;
  const std::optional<qreal> width = m_glyphs->Run(text, run);
  if (!width) {
    painter.drawText(x - fontMetrics().horizontalAdvance(text), baseline, text);
    return;
  }
  painter.drawGlyphRun(QPointF(x - *width, baseline), run);
}

void StripChart::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) {
    Measure();
    m_background = QPixmap();
    m_laneTexts.clear();
  }
  QWidget::changeEvent(event);
}

void StripChart::CursorFromX(int x) {
  const QRect plot = PlotArea();
  m_model.SetCursorAt(static_cast<double>(x - plot.left()) / plot.width());
  update();
}

// In the plot the left button sets the cursor; in the legend it picks the row whose scale the
// overlay shows (again: no row picked).
void StripChart::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  const QPoint point = event->position().toPoint();
  if (point.x() > PlotArea().right() + kMargin / 2) {
    const std::optional<std::size_t> row = LegendRowAt(point);
    if (row) Select(m_model.Selected() == row ? std::nullopt : row);
    return;
  }
  CursorFromX(point.x());
}

void StripChart::mouseMoveEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  if ((event->buttons() & Qt::LeftButton) != 0) {
    if (point.x() <= PlotArea().right() + kMargin / 2) CursorFromX(point.x());
    return;
  }
  const std::optional<std::size_t> row = LegendRowAt(point);
  if (!m_model.Point(row)) return;
  update(LegendArea());
  if (m_model.View() == ChartView::kOverlay && CurrentAxis() != m_drawnAxis) update(AxisArea());
}

void StripChart::leaveEvent(QEvent* event) {
  if (m_model.Point(std::nullopt)) {
    update();
  }
  QWidget::leaveEvent(event);
}

void StripChart::wheelEvent(QWheelEvent* event) {
  const LegendGeometry legend = Legend();
  if (!legend.scrollBar || event->position().x() < LegendArea().left()) {
    QWidget::wheelEvent(event);
    return;
  }
  const int steps = event->angleDelta().y() / QWheelEvent::DefaultDeltasPerStep;
  const long long wanted = static_cast<long long>(legend.layout.firstRow) - steps;
  ScrollLegendTo(static_cast<std::size_t>(std::max(0LL, wanted)));
  event->accept();
}

void StripChart::showEvent(QShowEvent* event) {
  m_liveTimer.start();
  QWidget::showEvent(event);
}

void StripChart::hideEvent(QHideEvent* event) {
  m_liveTimer.stop();
  QWidget::hideEvent(event);
}

// Over the legend, a tooltip says when the values shown were read while they are not live.
bool StripChart::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    const auto* help = static_cast<QHelpEvent*>(event);
    if (help->pos().x() >= LegendArea().left() && m_model.IsStale() && !m_model.Cursor()) {
      QToolTip::showText(help->globalPos(), StatusText(), this);
    } else {
      QToolTip::hideText();
      event->ignore();
    }
    return true;
  }
  return QWidget::event(event);
}

// Space pauses and resumes; Left and Right move the cursor a tick's time; Escape clears it.
void StripChart::keyPressEvent(QKeyEvent* event) {
  constexpr double kStep = 0.2;
  switch (event->key()) {
    case Qt::Key_Space: SetPaused(!m_model.IsPaused()); break;
    case Qt::Key_Escape: SetCursor(std::nullopt); break;
    case Qt::Key_Left:
      m_model.StepCursor(-kStep);
      update();
      break;
    case Qt::Key_Right:
      m_model.StepCursor(kStep);
      update();
      break;
    default: QWidget::keyPressEvent(event); return;
  }
  event->accept();
}

void StripChart::contextMenuEvent(QContextMenuEvent* event) {
  event->accept();
  QMenu menu(this);
  QAction* pause = menu.addAction(ToQString(m_model.IsPaused() ? text::kResumeChartItem : text::kPauseChartItem));
  connect(pause, &QAction::triggered, this, [this] { SetPaused(!m_model.IsPaused()); });
  menu.addSeparator();
  auto* spans = new QActionGroup(&menu);
  for (const std::uint32_t seconds : kChartSpans) {
    QAction* item = menu.addAction(SpanText(seconds));
    item->setCheckable(true);
    item->setChecked(seconds == m_model.Span());
    spans->addAction(item);
    connect(item, &QAction::triggered, this, [this, seconds] { SetSpan(seconds); });
  }
  menu.addSeparator();
  auto* views = new QActionGroup(&menu);
  for (const auto& [view, label] :
       {std::pair{ChartView::kOverlay, text::kOverlayItem}, std::pair{ChartView::kLanes, text::kLanesItem}}) {
    QAction* item = menu.addAction(ToQString(label));
    item->setCheckable(true);
    item->setChecked(view == m_model.View());
    views->addAction(item);
    connect(item, &QAction::triggered, this, [this, view] { SetView(view); });
  }
  menu.addSeparator();
  QAction* range = menu.addAction(ToQString(text::kChartRangeItem));
  range->setEnabled(!m_model.TraceCount() == 0);
  connect(range, &QAction::triggered, this, &StripChart::OnSetRange);
  QAction* clear = menu.addAction(ToQString(text::kClearCursorItem));
  clear->setEnabled(m_model.Cursor().has_value());
  connect(clear, &QAction::triggered, this, [this] { SetCursor(std::nullopt); });
  m_prompter.RunPopupMenu(menu, event->globalPos());
}

void StripChart::OnSetRange() {
  std::vector<ChartRangeDlg::Trace> traces;
  for (std::size_t trace = 0; trace < m_model.TraceCount(); ++trace) {
    traces.push_back({m_texts[trace].label, m_model.FixedRangeOf(trace), m_model.RangeOf(trace)});
  }
  if (traces.empty()) return;
  ChartRangeDlg dialog(m_prompter, std::move(traces), static_cast<int>(m_model.Selected().value_or(0)), this);
  if (!m_prompter.RunModal(dialog)) return;
  SetFixedRange(m_model.Trace(static_cast<std::size_t>(dialog.m_nTrace)).channel, dialog.m_range);
}

}  // namespace lcu::gui
