// The strip chart of a monitor window: shown and hidden, fed by the session's readings, drawn
// tick by tick, and saved beside the settings file.

#include <QFile>
#include <QToolBar>

#include "core/monitor/chart_layout.h"
#include "core/monitor/settings_image.h"
#include "gui/monitor/monitor_pane.h"
#include "gui/monitor/strip_chart.h"
#include "gui_fixture.h"
#include "support/temp_folder.h"

namespace lcu::test {
namespace {

using gui::CMonitorPane;
using gui::CStripChart;

class StripChartTest : public OnLineGuiFixture {
 protected:
  static CMonitorPane& PaneOf(gui::CChildFrame& frame) { return *gui::CMonitorTemplate::PaneOf(frame); }
  static gui::CChildFrame& FrameOf(gui::CMonitorView& view) {
    return *static_cast<gui::CChildFrame*>(view.parentWidget()->parentWidget());
  }
  bool Checked() { return Menu().IsChecked(gui::cmd::kStripChart); }
};

constexpr std::uint16_t kChannels[] = {5, 15, 70};

TEST_F(StripChartTest, ShownForTheActiveWindowItTakesTheSessionsReadingsWithoutTransfersOfItsOwn) {
  gui::CMonitorView& first = WindowWith(kChannels);
  CMonitorPane& pane = PaneOf(FrameOf(first));
  CStripChart& chart = pane.Chart();
  EXPECT_FALSE(pane.IsChartShown());
  EXPECT_FALSE(Checked());
  Update(first);
  const int hidden = TransfersOf([&] { Update(first); });
  Choose(gui::cmd::kStripChart);
  EXPECT_TRUE(pane.IsChartShown());
  EXPECT_TRUE(Checked());
  EXPECT_GT(chart.height(), 0);
  EXPECT_EQ(TransfersOf([&] { Update(first); }), hidden) << "the chart adds no transfer";
  ASSERT_EQ(chart.History().Size(), 3U);
  ASSERT_EQ(chart.History().Traces(), 3U);
  for (std::size_t row = 0; row < 3; ++row) {
    const QString legend = chart.LegendText(row);
    EXPECT_TRUE(legend.endsWith("  " + Cell(first, static_cast<int>(row), gui::kValueColumn))) << legend.toStdString();
  }
  EXPECT_TRUE(chart.LegendText(0).startsWith(QStringLiteral("FUEL PRESS [bar]")));
  Unplug();
  Update(first);
  EXPECT_EQ(chart.History().Size(), 4U);
  EXPECT_EQ(chart.History().ValueAt(0, 3), std::nullopt) << "a gap where the LCU was off line";
  EXPECT_TRUE(chart.LegendText(0).endsWith(QStringLiteral("  -")));

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
  const std::pair<std::uint32_t, int> cases[] = {{10, 420}, {60, 200}, {30, 300}};  // span, width
  for (const auto& [span, width] : cases) {
    SCOPED_TRACE(span);
    gui::CMonitorView& view = WindowWith(kChannels);
    FixedClock clock;
    CStripChart chart(view.Document(), Session(), app->State(), clock, *prompter);
    chart.resize(width, 160);
    chart.SetSpan(span);
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
        ASSERT_TRUE(app->Device().m_bOnline);
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
  CStripChart& chart = PaneOf(FrameOf(charted)).Chart();
  chart.SetSpan(120);
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
  CMonitorPane& restored = PaneOf(*frames[1]);
  EXPECT_TRUE(restored.IsChartShown());
  const WindowChart layout = restored.ChartLayout();
  EXPECT_EQ(layout.spanSeconds, 120U);
  EXPECT_TRUE(layout.paused);
  ASSERT_EQ(layout.ranges.size(), 1U);
  EXPECT_EQ(layout.ranges[0], (FixedRange{15, {0.0, 100.0}}));
  EXPECT_EQ(restored.Chart().RangeOf(1), (ChartRange{0.0, 100.0}));

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

}  // namespace
}  // namespace lcu::test
