// The strip chart of a monitor window: shown and hidden, fed by the session's readings, drawn
// tick by tick in both views, broken where no readings came, its legend readable in a small
// window, and saved beside the settings file.

#include <set>

#include <QFile>
#include <QScrollBar>
#include <QToolBar>

#include "core/monitor/chart_palette.h"

#include "core/monitor/chart_layout.h"
#include "core/monitor/settings_image.h"
#include "gui/monitor/monitor_pane.h"
#include "gui/monitor/strip_chart.h"
#include "gui_fixture.h"
#include "support/temp_folder.h"

namespace lcu::test {
namespace {

using gui::MonitorPane;
using gui::StripChart;

class StripChartTest : public OnLineGuiFixture {
 protected:
  static MonitorPane& PaneOf(gui::CChildFrame& frame) { return *gui::MonitorTemplate::PaneOf(frame); }
  static gui::CChildFrame& FrameOf(gui::CMonitorView& view) {
    return *static_cast<gui::CChildFrame*>(view.parentWidget()->parentWidget());
  }
  bool Checked() { return Menu().IsChecked(gui::cmd::kStripChart); }
};

constexpr std::uint16_t kChannels[] = {5, 15, 70};

TEST_F(StripChartTest, ShownForTheActiveWindowItTakesTheSessionsReadingsWithoutTransfersOfItsOwn) {
  gui::CMonitorView& first = WindowWith(kChannels);
  MonitorPane& pane = PaneOf(FrameOf(first));
  StripChart& chart = pane.Chart();
  EXPECT_FALSE(pane.IsChartShown());
  EXPECT_FALSE(Checked());
  Update(first);
  const int hidden = TransfersOf([&] { Update(first); });
  Choose(gui::cmd::kStripChart);
  EXPECT_TRUE(pane.IsChartShown());
  EXPECT_TRUE(Checked());
  EXPECT_GT(chart.height(), 0);
  EXPECT_EQ(TransfersOf([&] { Update(first); }), hidden) << "the chart adds no transfer";
  ASSERT_EQ(chart.Model().History().Size(), 3U);
  ASSERT_EQ(chart.Model().History().Traces(), 3U);
  for (std::size_t row = 0; row < 3; ++row) {
    const QString legend = chart.LegendText(row);
    const QString value = Cell(first, static_cast<int>(row), gui::kValueColumn);
    const QString units = Cell(first, static_cast<int>(row), gui::kUnitsColumn);
    EXPECT_TRUE(legend.endsWith("  " + value + (units.isEmpty() ? QString() : " " + units))) << legend.toStdString();
  }
  EXPECT_EQ(chart.LegendText(0), "FUEL PRESS  " + Cell(first, 0, gui::kValueColumn) + " bar");
  Unplug();
  Update(first);
  EXPECT_EQ(chart.Model().History().Size(), 4U);
  EXPECT_EQ(chart.Model().History().ValueAt(0, 3), std::nullopt) << "a gap where the LCU was off line";
  EXPECT_EQ(chart.LegendText(0), "FUEL PRESS  " + Cell(first, 0, gui::kValueColumn) + " bar")
      << "the last values read, as the list keeps them";

  const QList<QToolBar*> bars = Frame().findChildren<QToolBar*>();
  ASSERT_EQ(bars.size(), 1);
  EXPECT_TRUE(bars[0]->actions().contains(Menu().Action(gui::cmd::kStripChart)));

  // Another window has no chart: the check mark follows the active window.
  gui::CMonitorView& second = WindowWith(kChannels);
  EXPECT_FALSE(Checked());
  prompter->popupChoice = QStringLiteral("Strip &Chart");
  RightClick(second);
  EXPECT_TRUE(PaneOf(FrameOf(second)).IsChartShown());
  EXPECT_TRUE(Checked());
  Choose(gui::cmd::kStripChart);
  EXPECT_FALSE(PaneOf(FrameOf(second)).IsChartShown());
  EXPECT_TRUE(pane.IsChartShown()) << "only the active window's chart";
}

// A chart repainted at every tick moves its kept traces along and draws only the new columns;
// after many ticks it must show what a chart drawn afresh shows, but for the odd pixel where
// a tick's new columns met the old ones. Both with a line from tick to tick and with each
// column's lowest and highest values (many ticks to a column).
TEST_F(StripChartTest, TracesDrawnTickByTickMatchTheSameTracesDrawnAfresh) {
  const struct {
    std::uint32_t span;
    int width;
    ChartView view;
  } cases[] = {{10, 420, ChartView::kOverlay}, {60, 200, ChartView::kOverlay}, {30, 300, ChartView::kLanes}};
  for (const auto& [span, width, chartView] : cases) {
    SCOPED_TRACE(span);
    gui::CMonitorView& view = WindowWith(kChannels);
    FixedClock clock;
    StripChart chart(view.Document(), Session(), app->State(), clock, *prompter);
    chart.resize(width, 160);
    chart.SetSpan(span);
    chart.SetView(chartView);
    const int ticks = static_cast<int>(span) * 5 * 3 / 2;
    for (int tick = 0; tick < ticks; ++tick) {
      clock.Advance(std::chrono::milliseconds(200));
      sim->AdvanceTime(std::chrono::milliseconds(200));
      Update(view);
      // A late tick's gap now and then breaks the lines.
      if (tick % 37 == 36) {
        Unplug();
        Update(view);
        Replug(2);
        ASSERT_TRUE(app->Device().IsOnline());
      }
      (void)chart.grab();
    }
    const QImage stepped = chart.grab().toImage();
    // Another size and back: the traces are drawn afresh.
    chart.resize(width + 1, 160);
    (void)chart.grab();
    chart.resize(width, 160);
    const QImage afresh = chart.grab().toImage();

    ASSERT_EQ(stepped.size(), afresh.size());
    int differing = 0;
    int coloured = 0;  // the traces' pixels: the grid, the frame and the texts are grey
    for (int y = 0; y < afresh.height(); ++y)
      for (int x = 0; x < afresh.width() - 130; ++x) {
        differing += stepped.pixel(x, y) != afresh.pixel(x, y) ? 1 : 0;
        const QRgb pixel = afresh.pixel(x, y);
        coloured += qRed(pixel) != qGreen(pixel) || qGreen(pixel) != qBlue(pixel) ? 1 : 0;
      }
    EXPECT_GT(coloured, afresh.height() * 3) << "traces are drawn";
    EXPECT_LE(differing, afresh.height()) << "at most a column's worth";
  }
}

// The layout goes beside the settings file, whose own bytes stay as they were.
TEST_F(StripChartTest, LayoutIsSavedBesideTheSettingsFileAndRestored) {
  WindowWith(kChannels);
  gui::CMonitorView& charted = WindowWith(kChannels);
  Choose(gui::cmd::kStripChart);
  StripChart& chart = PaneOf(FrameOf(charted)).Chart();
  chart.SetSpan(120);
  // The view is chosen in the chart's own menu.
  prompter->popupChoice = QStringLiteral("Lanes");
  QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 5), chart.mapToGlobal(QPoint(5, 5)));
  QCoreApplication::sendEvent(&chart, &menu);
  ASSERT_FALSE(prompter->popups.empty());
  EXPECT_TRUE(prompter->popups.back().contains(QStringLiteral("Overlay")));
  EXPECT_EQ(chart.Model().View(), ChartView::kLanes);
  chart.SetFixedRange(15, ChartRange{0.0, 100.0});
  chart.SetPaused(true);

  const QString settings = FilePath("layout.nsb");
  SaveAs(settings);
  ASSERT_TRUE(prompter->messages.empty()) << prompter->messages.front();
  EXPECT_EQ(QFile(settings).size(), static_cast<qint64>(kSettingsImageSize)) << "the settings file keeps its layout";
  ASSERT_TRUE(QFile::exists(settings + ".chart"));

  Open(settings);
  std::vector<gui::CChildFrame*> frames = Frames();
  ASSERT_EQ(frames.size(), 2U);
  EXPECT_FALSE(PaneOf(*frames[0]).IsChartShown());
  MonitorPane& restored = PaneOf(*frames[1]);
  EXPECT_TRUE(restored.IsChartShown());
  const WindowChart layout = restored.ChartLayout();
  EXPECT_EQ(layout.spanSeconds, 120U);
  EXPECT_EQ(layout.view, ChartView::kLanes);
  EXPECT_EQ(restored.Chart().Model().View(), ChartView::kLanes);
  EXPECT_TRUE(layout.paused);
  ASSERT_EQ(layout.ranges.size(), 1U);
  EXPECT_EQ(layout.ranges[0], (FixedRange{15, {0.0, 100.0}}));
  EXPECT_EQ(restored.Chart().Model().RangeOf(1), (ChartRange{0.0, 100.0}));

  // A chart file of a newer program: said once with the file and why, the windows keep their
  // lists, and the file is kept beside before the save at the end replaces it.
  const QString chartPath = settings + ".chart";
  std::vector<std::uint8_t> newer = ReadBytes(chartPath.toStdString());
  newer[4] = 2;
  WriteBytes(chartPath.toStdString(), newer);
  prompter->messages.clear();
  Open(settings);
  frames = Frames();
  ASSERT_EQ(frames.size(), 2U);
  EXPECT_EQ(ViewOf(*frames[1]).Model().rowCount(), 3);
  EXPECT_FALSE(PaneOf(*frames[1]).IsChartShown());
  EXPECT_EQ(prompter->messages,
            std::vector<std::string>{"Strip chart file is damaged.\n" + chartPath.toStdString() +
                                     ": a chart file of a newer version (2)\n"
                                     "It is kept as layout.nsb.chart.damaged before it is saved over."});
  Frame().close();
  EXPECT_EQ(ReadBytes((chartPath + ".damaged").toStdString()), newer);
  EXPECT_EQ(ReadBytes(chartPath.toStdString())[4], 1) << "a chart file of this program's version";
  EXPECT_EQ(prompter->messages.size(), 1U);
}

// Eleven channels of the sample setup, some with long names.
constexpr std::uint16_t kEleven[] = {0, 1, 4, 5, 9, 10, 64, 65, 66, 67, 70};

// A chart of its own on a clock the test moves, fed by a window's updates.
class DrivenChartTest : public StripChartTest {
 protected:
  void SetUp() override {
    StripChartTest::SetUp();
    if (HasFatalFailure()) return;
    view = &WindowWith(kEleven);
    chart = std::make_unique<StripChart>(view->Document(), Session(), app->State(), clock, *prompter);
  }
  void TearDown() override {
    chart.reset();
    StripChartTest::TearDown();
  }
  /// Ticks of readings a period apart, for seconds.
  void Readings(double seconds) {
    for (int tick = 0; tick < static_cast<int>(seconds * 5); ++tick) {
      clock.Advance(std::chrono::milliseconds(200));
      sim->AdvanceTime(std::chrono::milliseconds(200));
      Update(*view);
    }
  }
  /// Time that passes without readings, as while a download holds the link.
  void Silence(double seconds) {
    clock.Advance(std::chrono::milliseconds(static_cast<int>(seconds * 1000)));
    sim->AdvanceTime(std::chrono::milliseconds(static_cast<int>(seconds * 1000)));
  }
  static bool IsTraceColour(QRgb pixel, std::size_t trace) { return (pixel & 0xffffff) == ChartColour(trace); }
  /// Whether a pixel is the trace's colour laid over the white background at some strength
  /// (as the edges of a text in that colour are).
  static bool IsTraceInk(QRgb pixel, std::size_t trace) {
    const QRgb colour = ChartColour(trace);
    const int channels[3][2] = {
        {qRed(pixel), qRed(colour)}, {qGreen(pixel), qGreen(colour)}, {qBlue(pixel), qBlue(colour)}};
    int strongest = 0;
    for (int c = 0; c < 3; ++c) {
      if (255 - channels[c][1] > 255 - channels[strongest][1]) strongest = c;
    }
    const double share = (255.0 - channels[strongest][0]) / (255.0 - channels[strongest][1]);
    if (share < 0.3) return false;
    for (const auto& [seen, full] : channels) {
      if (std::abs(255.0 - seen - share * (255.0 - full)) > 16) return false;
    }
    return true;
  }
  /// The rows of the plot: above the time axis's labels.
  static constexpr int kAxisLabels = 26;

  FixedClock clock;
  gui::CMonitorView* view = nullptr;
  std::unique_ptr<StripChart> chart;
};

// Lanes differ in height by a pixel at most: at any chart height every lane carries its label
// or, when lanes are too short for one, none does; never every other lane.
TEST_F(DrivenChartTest, EveryLaneIsLabelledOrNone) {
  chart->SetView(ChartView::kLanes);
  const int plotRight = 700 - 280 - 4;  // the widest legend
  std::set<std::size_t> counts;
  for (int height = 120; height <= 420; height += 6) {
    SCOPED_TRACE(height);
    chart->resize(700, height);
    const QImage image = chart->grab().toImage();  // no readings yet: only the labels are in trace colours
    std::size_t labelled = 0;
    for (std::size_t trace = 0; trace < 11; ++trace) {
      bool inked = false;
      for (int y = 0; y < height - kAxisLabels && !inked; ++y)
        for (int x = 0; x < plotRight && !inked; ++x) inked = IsTraceInk(image.pixel(x, y), trace);
      labelled += inked ? 1 : 0;
    }
    EXPECT_TRUE(labelled == 0 || labelled == 11) << labelled << " lanes labelled";
    counts.insert(labelled);
  }
  EXPECT_EQ(counts, (std::set<std::size_t>{0, 11})) << "short lanes have none, tall ones all";
}

// In lanes each trace keeps to a band of its own, the bands in channel order from the top; in
// the overlay the traces share the plot and the scale at the left is drawn in the colour of
// the channel picked in the legend.
TEST_F(DrivenChartTest, LanesStackTheTracesAndTheOverlayShowsThePickedChannelsScale) {
  chart->resize(700, 460);
  chart->SetSpan(10);
  Readings(10);
  const int plotRight = 700 - 280 - 4;  // the widest legend
  const auto bands = [&](const QImage& image, int left) {
    std::vector<std::pair<int, int>> found;
    for (std::size_t trace = 0; trace < 11; ++trace) {
      int top = image.height();
      int bottom = -1;
      for (int y = 0; y < image.height() - kAxisLabels; ++y)
        for (int x = left; x < plotRight; ++x)
          if (IsTraceColour(image.pixel(x, y), trace)) {
            top = std::min(top, y);
            bottom = std::max(bottom, y);
          }
      found.emplace_back(top, bottom);
    }
    return found;
  };

  chart->SetView(ChartView::kLanes);
  const QImage lanes = chart->grab().toImage();
  const std::vector<std::pair<int, int>> laneBands = bands(lanes, 10);
  for (std::size_t trace = 0; trace < 11; ++trace) {
    SCOPED_TRACE(trace);
    ASSERT_GE(laneBands[trace].second, laneBands[trace].first) << "the trace is drawn";
    EXPECT_LT(laneBands[trace].second - laneBands[trace].first, 460 / 11) << "within a lane";
    if (trace > 0) {
      EXPECT_GT(laneBands[trace].first, laneBands[trace - 1].second) << "below the lane before";
    }
  }

  chart->SetView(ChartView::kOverlay);
  chart->Select(3);
  const QImage overlay = chart->grab().toImage();
  int axis = 0;
  int other = 0;
  for (int y = 0; y < overlay.height(); ++y)
    for (int x = 0; x < 50; ++x) {
      axis += IsTraceInk(overlay.pixel(x, y), 3) ? 1 : 0;
      other += IsTraceInk(overlay.pixel(x, y), 0) ? 1 : 0;
    }
  EXPECT_GT(axis, 20) << "the picked channel's scale";
  EXPECT_EQ(other, 0) << "no other channel's";
  const std::vector<std::pair<int, int>> shared = bands(overlay, 80);
  int tall = 0;
  for (const auto& [top, bottom] : shared) tall += bottom - top > 460 / 3 ? 1 : 0;
  EXPECT_GE(tall, 5) << "traces on their own scales over the whole plot";
}

// While no readings come (a download publishes nothing) the values are greyed with the time they
// were read, and the traces break; the next reading brings the values back, and the line does
// not join across the pause.
TEST_F(DrivenChartTest, APauseInTheReadingsIsAGapAndGreysTheValues) {
  chart->resize(600, 300);
  chart->SetSpan(30);
  chart->show();
  Readings(10);
  EXPECT_EQ(chart->StatusText(), QString());
  const auto legendInk = [&](const QImage& image, QRgb ink) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 600 - 150; x < image.width(); ++x) count += (image.pixel(x, y) & 0xffffff) == ink ? 1 : 0;
    return count;
  };
  const QImage live = chart->grab().toImage();

  Silence(10);
  EXPECT_EQ(chart->StatusText(), QStringLiteral("last read 13:52:44, 10 s ago"));
  const QImage stale = chart->grab().toImage();
  EXPECT_LT(legendInk(stale, 0x000000), legendInk(live, 0x000000)) << "the values are no longer black";
  EXPECT_GT(legendInk(stale, 0x8c8c8c), legendInk(live, 0x8c8c8c)) << "but grey";

  Readings(8);
  EXPECT_EQ(chart->StatusText(), QString());
  const QImage after = chart->grab().toImage();
  // 10 s of 30 s without a trace: about a third of the plot's columns, less a tick's time
  // that the last reading holds.
  const int plotLeft = 80;
  const int plotRight = 600 - 240 - 4;
  int longest = 0;
  int run = 0;
  for (int x = plotLeft; x < plotRight; ++x) {
    bool traced = false;
    for (int y = 0; y < after.height() - kAxisLabels && !traced; ++y)
      for (std::size_t trace = 0; trace < 11 && !traced; ++trace) traced = IsTraceColour(after.pixel(x, y), trace);
    run = traced ? 0 : run + 1;
    longest = std::max(longest, run);
  }
  EXPECT_GT(longest, (plotRight - 70) * 9 / 30) << "the traces break across the pause";
}

// A small window keeps every channel within reach and every name readable: rows of two lines,
// scrolled; a large one shows them all on a line each, whole.
TEST_F(DrivenChartTest, TheLegendShowsEveryChannelReadablyInASmallWindow) {
  const auto readable = [&](std::size_t trace) {
    const QString shown = chart->ShownName(trace);
    const QString name = chart->LegendText(trace).section(QStringLiteral("  "), 0, 0);
    return shown == name || (shown.size() >= 10 && shown.front() == name.front() && shown.back() == name.back());
  };
  Readings(2);
  chart->resize(420, 300);
  (void)chart->grab();
  ChartLegendLayout small = chart->LegendLayout();
  EXPECT_EQ(small.linesPerRow, 2);
  ASSERT_LT(small.rowsShown, 11U);
  EXPECT_TRUE(chart->findChild<QScrollBar*>()->isVisibleTo(chart.get()));
  for (std::size_t trace = 0; trace < 11; ++trace)
    EXPECT_TRUE(readable(trace)) << chart->ShownName(trace).toStdString();
  chart->ScrollLegendTo(100);
  small = chart->LegendLayout();
  EXPECT_EQ(small.firstRow + small.rowsShown, 11U) << "the last rows are reached";

  chart->resize(1000, 600);
  (void)chart->grab();
  const ChartLegendLayout large = chart->LegendLayout();
  EXPECT_EQ(large.linesPerRow, 1);
  EXPECT_GE(large.rowsShown, 11U);
  EXPECT_EQ(large.firstRow, 0U);
  EXPECT_FALSE(chart->findChild<QScrollBar*>()->isVisibleTo(chart.get()));
  for (std::size_t trace = 0; trace < 11; ++trace) {
    EXPECT_EQ(chart->ShownName(trace), chart->LegendText(trace).section(QStringLiteral("  "), 0, 0));
  }
}

// A cursor whose time scrolls out of the chart stays on that time: the legend keeps its values
// and says that the time is outside.
TEST_F(DrivenChartTest, ACursorThatScrolledOutOfTheChartSaysSo) {
  chart->resize(600, 300);
  chart->SetSpan(10);
  Readings(5);
  const double at = chart->Model().RightEdge() - 1.0;
  chart->SetCursor(at);
  const QString held = chart->LegendText(0);
  EXPECT_EQ(chart->StatusText(), QStringLiteral("-1.0 s"));
  Readings(20);
  EXPECT_EQ(chart->LegendText(0), held);
  EXPECT_EQ(chart->StatusText(), QStringLiteral("-21.0 s, outside the chart"));
}

}  // namespace
}  // namespace lcu::test
