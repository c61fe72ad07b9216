// Finding one's way in the monitor windows: the Monitor menu and the active window it serves,
// Copy, the keys that open the context menu and the channel selection, the hint of an empty
// window, and the channel selection's filter.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"
#include "gui/monitor/chan_selection_dlg.h"
#include "gui_fixture.h"

namespace lcu::test {
namespace {

using gui::CMonitorView;
namespace cmd = gui::cmd;

class MonitorCommandsTest : public OnLineGuiFixture {
 protected:
  std::vector<int> EnabledOf(std::initializer_list<int> ids) {
    std::vector<int> enabled;
    for (const int id : ids)
      if (Menu().IsEnabled(id)) enabled.push_back(id);
    return enabled;
  }
};

constexpr std::initializer_list<int> kMonitorItems = {
    cmd::kEditChannels,    cmd::kWindowName,  cmd::kSetFont,       cmd::kZeroSelectedChannels,
    cmd::kZeroAllChannels, cmd::kUndoZeroing, cmd::kSetChartRange, cmd::kCopyRows};

// The items follow the active window: grayed without one, the window's own commands with an
// empty one, Set Range once it has channels, Zero Selected and Copy while rows are selected;
// closing the last window grays them again.
TEST_F(MonitorCommandsTest, TheMonitorMenuFollowsTheActiveWindowAndItsSelection) {
  EXPECT_EQ(EnabledOf(kMonitorItems), std::vector<int>{});
  gui::CChildFrame& frame = NewWindow();
  CMonitorView& view = ViewOf(frame);
  const std::vector<int> windowItems = {cmd::kEditChannels, cmd::kWindowName, cmd::kSetFont, cmd::kZeroAllChannels};
  EXPECT_EQ(EnabledOf(kMonitorItems), windowItems);
  view.Document().SetChannels(Range(0, 3));
  std::vector<int> withRows = {cmd::kEditChannels, cmd::kWindowName, cmd::kSetFont, cmd::kZeroAllChannels,
                               cmd::kSetChartRange};
  EXPECT_EQ(EnabledOf(kMonitorItems), withRows);
  SelectRows(view, {1});
  EXPECT_EQ(EnabledOf(kMonitorItems),
            (std::vector<int>{cmd::kEditChannels, cmd::kWindowName, cmd::kSetFont, cmd::kZeroSelectedChannels,
                              cmd::kZeroAllChannels, cmd::kSetChartRange, cmd::kCopyRows}));

  // The commands reach the active window.
  Choose(cmd::kEditChannels);
  Choose(cmd::kZeroSelectedChannels);
  EXPECT_EQ(prompter->modalTitles, (std::vector<QString>{gui::ToQString(gui::text::kActiveChannelsCaption),
                                                         gui::ToQString(gui::text::kZeroChannelsCaption)}));
  NewWindow();
  EXPECT_EQ(EnabledOf(kMonitorItems), windowItems) << "another window, empty";
  Frame().MdiArea().setActiveSubWindow(&frame);
  EXPECT_EQ(EnabledOf({cmd::kCopyRows}), std::vector<int>{cmd::kCopyRows}) << "its selection kept";

  Frame().MdiArea().closeAllSubWindows();
  RunPosted();
  EXPECT_EQ(EnabledOf(kMonitorItems), std::vector<int>{});
}

// Copy puts the selected rows, in row order, as the cells show them.
TEST_F(MonitorCommandsTest, CopyPutsTheSelectedRowsOnTheClipboardAsTabSeparatedText) {
  CMonitorView& view = WindowWith(Range(3, 4));
  Update(view);
  SelectRows(view, {2, 0});
  Choose(cmd::kCopyRows);
  QStringList expected;
  for (const int row : {0, 2}) {
    expected << Cell(view, row, gui::kChannelColumn) + '\t' + Cell(view, row, gui::kValueColumn) + '\t' +
                    Cell(view, row, gui::kUnitsColumn);
  }
  EXPECT_EQ(QGuiApplication::clipboard()->text(), expected.join('\n'));
  EXPECT_FALSE(Cell(view, 0, gui::kValueColumn).isEmpty());
  EXPECT_FALSE(Cell(view, 0, gui::kUnitsColumn).isEmpty());
}

// From the keyboard the context menu opens whether or not rows are selected; a right-click with
// a row selected zeroes it as before. Insert opens the channel selection.
TEST_F(MonitorCommandsTest, KeysOpenTheContextMenuAndTheChannelSelection) {
  CMonitorView& view = WindowWith(Range(0, 3));
  SelectRows(view, {1});
  QTest::keyClick(&view, Qt::Key_F10, Qt::ShiftModifier);
  QTest::keyClick(&view, Qt::Key_Menu);
  QContextMenuEvent fromKeyboard(QContextMenuEvent::Keyboard, QPoint(0, 0), view.viewport()->mapToGlobal(QPoint(0, 0)));
  QCoreApplication::sendEvent(view.viewport(), &fromKeyboard);
  EXPECT_EQ(prompter->popups.size(), 3U);
  EXPECT_TRUE(prompter->modalTitles.empty()) << "nothing zeroed";
  QTest::keyClick(&view, Qt::Key_F10);
  EXPECT_EQ(prompter->popups.size(), 3U) << "F10 alone is not the menu key";

  QTest::keyClick(&view, Qt::Key_Insert);
  EXPECT_EQ(prompter->modalTitles, std::vector<QString>{gui::ToQString(gui::text::kActiveChannelsCaption)});
}

// A window without channels tells how to add them in its middle; once it has rows, its body
// below them is empty.
TEST_F(MonitorCommandsTest, AnEmptyWindowSaysHowToAddChannels) {
  CMonitorView& view = ViewOf(NewWindow());
  view.resize(360, 240);
  const auto inkInMiddle = [&] {
    const QImage image = view.viewport()->grab().toImage();
    const QRgb base = view.palette().color(QPalette::Base).rgb();
    int ink = 0;
    for (int y = image.height() / 3; y < image.height() * 2 / 3; ++y)
      for (int x = 0; x < image.width(); ++x) ink += image.pixel(x, y) != base ? 1 : 0;
    return ink;
  };
  EXPECT_GT(inkInMiddle(), 100);
  view.Document().SetChannels(Range(0, 1));
  EXPECT_EQ(inkInMiddle(), 0);
}

// The filter keeps in view the channels whose name holds the text or whose number starts with
// it; checks out of view are kept and taken by OK. Every item shows its units and is drawn whole.
TEST_F(MonitorCommandsTest, TheChannelSelectionFiltersByNameOrNumberAndShowsUnits) {
  CMonitorView& view = WindowWith(std::vector<std::uint16_t>{5});
  prompter->AcceptNext<gui::CChanSelectionDlg>([](gui::CChanSelectionDlg& dialog) {
    dialog.show();
    QListWidget& list = dialog.CheckList();
    const auto shown = [&list] {
      QStringList texts;
      for (int i = 0; i < list.count(); ++i)
        if (!list.item(i)->isHidden()) texts << list.item(i)->text();
      return texts;
    };
    const int all = list.count();
    QTest::keyClicks(&dialog.Filter(), "fuel pr");
    EXPECT_TRUE(shown().contains("005  FUEL PRESS  [bar]"));
    for (const QString& text : shown()) EXPECT_TRUE(text.contains("FUEL PR")) << text.toStdString();
    dialog.Filter().setText("07");
    for (const QString& text : shown()) {
      EXPECT_TRUE(text.startsWith("07") || text.startsWith("007") || text.section("  ", 1, 1).contains("07"))
          << text.toStdString();
    }
    EXPECT_TRUE(shown().contains("070  GEAR"));
    dialog.Filter().setText("9");
    EXPECT_FALSE(shown().contains("005  FUEL PRESS  [bar]"));
    list.item(0)->setCheckState(Qt::Checked);  // channel 0, out of view
    dialog.Filter().clear();
    EXPECT_EQ(shown().size(), all);
    const QFontMetrics metrics(list.font());
    for (int i = 0; i < all; ++i) {
      QListWidgetItem* item = list.item(i);
      EXPECT_GE(list.visualItemRect(item).width(), metrics.horizontalAdvance(item->text()))
          << item->text().toStdString();
    }
  });
  view.OnEditChannels();
  ASSERT_EQ(view.Model().rowCount(), 2);
  EXPECT_EQ(view.Model().Channel(0), 0);
  EXPECT_EQ(view.Model().Channel(1), 5);

  // Numbers match from their start, with or without the zeros they are shown with.
  EXPECT_FALSE(gui::CChanSelectionDlg::MatchesFilter(70, "GEAR", "0070"));
  EXPECT_FALSE(gui::CChanSelectionDlg::MatchesFilter(5, "FUEL PRESS", "50"));
  EXPECT_TRUE(gui::CChanSelectionDlg::MatchesFilter(64, "RPM", " rpm "));
}

}  // namespace
}  // namespace lcu::test
