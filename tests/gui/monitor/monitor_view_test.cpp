// Monitor windows against the simulated LCU: what a tick shows, the right-click and Enter
// rules, zeroing, Set Font, the channel selection dialog and the frames.
#include <QAbstractItemModelTester>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>

#include "core/channels/channel_calibration.h"
#include "core/commands/channel_zeroing.h"
#include "core/messages/messages.h"
#include "core/session/reading_freshness.h"
#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"
#include "gui/monitor/chan_selection_dlg.h"
#include "gui/monitor/ent_offset.h"
#include "gui/monitor/id_cell_delegate.h"
#include "gui/monitor/last_read_text.h"
#include "gui/monitor/reading_cell_delegate.h"
#include "gui/monitor/window_title_dlg.h"
#include "gui_fixture.h"
#include "support/download_pause.h"
#include "support/fixed_clock.h"
#include "support/recording_prompter.h"

namespace lcu::test {
namespace {

using gui::CMonitorView;
using gui::ToQString;

class MonitorViewTest : public OnLineGuiFixture {
 protected:
  float Offset(int channel) { return ReadChannelCalibration(app->State().m_calibration.Bytes(), channel).offset; }
  FixedClock& Clock() { return static_cast<FixedClock&>(app->Context().clock); }
};

// The darkest pixel of a cell as drawn: its text's colour.
int DarkestIn(const QImage& image, const QRect& cell) {
  int darkest = 255;
  for (int y = cell.top(); y <= cell.bottom(); ++y)
    for (int x = cell.left(); x <= cell.right(); ++x) darkest = std::min(darkest, qGray(image.pixel(x, y)));
  return darkest;
}

// A tick exchanges 20 channels in two blocks of three transfers and signals the Value and Raw
// columns once each. The Value cell's tooltip tells how the shown value was made from the row's
// last reading: nothing before the first reading, then the reading first and the shown text last.
// Off line the rows keep their labels until the LCU is back; no channels, no exchange.
TEST_F(MonitorViewTest, ATickFillsAndSignalsTheValueAndRawColumnsOfEveryRowAndAFailedOneChangesNothing) {
  std::vector<std::uint16_t> channels = Range(0, 19);
  channels.push_back(98);
  CMonitorView& view = WindowWith(channels);
  QAbstractItemModelTester tester(&view.Model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
  QSignalSpy changes(&view.Model(), &QAbstractItemModel::dataChanged);
  const auto tooltip = [&](int row) {
    return view.model()->index(row, gui::kValueColumn).data(Qt::ToolTipRole).toString();
  };
  EXPECT_TRUE(tooltip(0).isEmpty());
  EXPECT_EQ(TransfersOf([&] { Update(view); }), 6);
  ASSERT_EQ(changes.count(), 2);
  for (int i = 0; i < 2; ++i) {
    const int column = i == 0 ? gui::kValueColumn : gui::kRawColumn;
    EXPECT_EQ(changes[i][0].value<QModelIndex>(), view.Model().index(0, column));
    EXPECT_EQ(changes[i][1].value<QModelIndex>(), view.Model().index(19, column));
  }
  view.viewport()->grab();  // every cell drawn: the ID column's group pictures too
  for (int row = 0; row < 20; ++row) {
    EXPECT_FALSE(Cell(view, row, gui::kValueColumn).isEmpty()) << row;
    bool number = false;
    Cell(view, row, gui::kRawColumn).toUShort(&number);
    EXPECT_TRUE(number) << row;
    const QStringList lines = tooltip(row).split('\n');
    ASSERT_GE(lines.size(), 3) << row;
    EXPECT_TRUE(lines.front().startsWith(QStringLiteral("Channel %1, reading ").arg(channels[std::size_t(row)])))
        << lines.front().toStdString();
    EXPECT_TRUE(lines.back().endsWith("): " + Cell(view, row, gui::kValueColumn))) << lines.back().toStdString();
  }
  EXPECT_TRUE(tooltip(5).contains("Calibration type")) << tooltip(5).toStdString();
  const QString calibrationLine = "Calibration file: " + QString::fromStdString(app->State().m_szCalibrationFile);
  EXPECT_TRUE(tooltip(5).split('\n').contains(calibrationLine)) << tooltip(5).toStdString();
  EXPECT_TRUE(calibrationLine.endsWith("@LCU1.cal"));
  EXPECT_TRUE(tooltip(19).contains("hundredths")) << tooltip(19).toStdString();
  EXPECT_TRUE(view.model()->index(0, gui::kRawColumn).data(Qt::ToolTipRole).isNull());

  AppState& state = app->State();
  state.m_channelTable[1].SetName("RENAMED");
  state.m_channelTable[1].SetUnits("psi");
  ++state.m_nDefinitionGeneration;

  Unplug();
  ASSERT_FALSE(app->Device().IsOnline());
  Update(view);
  EXPECT_EQ(changes.count(), 2);
  EXPECT_EQ(view.Model().rowCount(), 20);
  EXPECT_FALSE(Cell(view, 0, gui::kValueColumn).isEmpty());
  EXPECT_NE(Cell(view, 1, gui::kChannelColumn), "RENAMED") << "off line the rows keep their labels";

  Replug(1);
  Update(view);
  EXPECT_EQ(Cell(view, 1, gui::kChannelColumn), "RENAMED");
  EXPECT_EQ(Cell(view, 1, gui::kUnitsColumn), "psi");
  EXPECT_FALSE(Cell(view, 1, gui::kValueColumn).isEmpty()) << "the values follow within the tick";

  const qsizetype signalled = changes.count();
  view.Document().SetChannels({});
  EXPECT_EQ(TransfersOf([&] { Update(view); }), 0);
  EXPECT_EQ(changes.count(), signalled);
}

TEST_F(MonitorViewTest, RightClickAndEnterFollowTheSelectionAndTheLink) {
  const QStringList popup = {"Window Name",         "Set Font", "Strip &Chart",  "Set Range...",
                             "Cop&y\tCtrl+Shift+C", "-",        "Edit Channels", "Zero All Channels",
                             "Undo Zeroing",        "-",        "Close"};
  const struct {
    const char* what;
    bool selected, online, rightClick;
    int popups, offLineMessages, zeroDialogs;
  } cases[] = {
      {"right-click, nothing selected", false, true, true, 1, 0, 0},
      {"right-click, nothing selected, off line", false, false, true, 1, 0, 0},
      {"right-click, a row selected", true, true, true, 0, 0, 1},
      {"right-click, a row selected, off line", true, false, true, 0, 1, 0},
      {"Enter, nothing selected", false, true, false, 0, 0, 0},
      {"Enter, a row selected", true, true, false, 0, 0, 1},
      {"Enter, a row selected, off line", true, false, false, 0, 1, 0},
  };
  CMonitorView& view = WindowWith(Range(0, 4));
  for (const auto& c : cases) {
    *prompter = RecordingGuiPrompter();
    SetOnline(c.online);
    SCOPED_TRACE(c.what);
    view.clearSelection();
    if (c.selected) SelectRows(view, {1});
    if (c.rightClick) RightClick(view);
    if (!c.rightClick) QTest::keyClick(&view, Qt::Key_Return);
    EXPECT_EQ(prompter->popups, std::vector<QStringList>(static_cast<std::size_t>(c.popups), popup));
    EXPECT_EQ(prompter->Count(msg::kLcuOffline), c.offLineMessages);
    EXPECT_EQ(prompter->modalTitles, std::vector<QString>(static_cast<std::size_t>(c.zeroDialogs),
                                                          ToQString(gui::text::kZeroChannelsCaption)));
  }
}

// How the offsets move is the core's zeroing test; here the selected rows reach it with their
// shown values, Zero All Channels needs the LCU, and Cancel saves and sends nothing.
TEST_F(MonitorViewTest, ZeroingTakesTheSelectedRowsAndTheirShownValues) {
  CMonitorView& view = WindowWith(std::vector<std::uint16_t>{200, 3, 4, 5});
  Update(view);
  prompter->answers = {true, true, true};  // zero, the LCU holds data; zero again
  SetOnline(false);
  view.OnZeroAllChannels();
  EXPECT_EQ(prompter->Count(msg::kLcuOffline), 1);
  EXPECT_TRUE(prompter->modalTitles.empty());
  SetOnline(true);
  view.OnZeroAllChannels();
  EXPECT_EQ(prompter->modalTitles.size(), 1u) << "Cancel: nothing saved or sent";
  EXPECT_EQ(Value(reg::kChannelData, reg::kZeroFlag), "(missing)");

  SelectRows(view, {0, 1, 3});
  const float shown3 = ParseShownValue(gui::ToStdString(Cell(view, 1, gui::kValueColumn)));
  const float before3 = Offset(3);
  const float before4 = Offset(4);
  prompter->AcceptNext<gui::CEntOffset>([](auto& dialog) { dialog.ValueBox().setText("10"); });
  QTest::keyClick(&view, Qt::Key_Enter);
  EXPECT_FLOAT_EQ(Offset(3), before3 + (10.0F - shown3));
  EXPECT_EQ(Offset(4), before4) << "not selected";
  EXPECT_EQ(Value(reg::kChannelData, reg::kZeroFlag), "TRUE");
  prompter->AcceptNext<gui::CEntOffset>([](auto& dialog) { dialog.ValueBox().setText("0"); });
  view.OnZeroAllChannels();
  EXPECT_NE(Offset(4), before4) << "every row";
  EXPECT_EQ(prompter->Count(msg::kConfigurationUpdated), 2);
  ASSERT_EQ(prompter->questions.size(), 3u);
  EXPECT_EQ(
      prompter->questions[0],
      "Zero FUEL TEMP and FUEL PRESS of LCU 1 to 10? The calibration file is replaced; its previous version is kept.");
}

// Undo Zeroing is offered while the calibration has an earlier version; it puts that back in
// the file and in the values shown (its question is the core's zeroing test).
TEST_F(MonitorViewTest, UndoZeroingIsOfferedWhileABackupExists) {
  CMonitorView& view = WindowWith(std::vector<std::uint16_t>{5});
  Update(view);
  const float before = Offset(5);
  prompter->popupChoice = ToQString(gui::text::kUndoZeroingItem);
  view.clearSelection();
  RightClick(view);
  EXPECT_TRUE(prompter->questions.empty()) << "no backup: the item is disabled";

  prompter->answers = {true, true};
  prompter->AcceptNext<gui::CEntOffset>([](auto& dialog) { dialog.ValueBox().setText("0"); });
  view.OnZeroAllChannels();
  ASSERT_NE(Offset(5), before);
  prompter->questions.clear();
  prompter->answers = {false};
  view.clearSelection();
  RightClick(view);
  EXPECT_EQ(prompter->questions.size(), 1u) << "whether to send the calibration put back";
  EXPECT_EQ(Offset(5), before);
}

TEST_F(MonitorViewTest, SetFontWidensIdValueAndRawToTheirTexts) {
  CMonitorView& view = WindowWith(Range(3, 6));
  Update(view);
  const LogFont before = view.GetListFont();
  view.OnSetFont();
  EXPECT_EQ(view.GetListFont(), before);
  ASSERT_EQ(prompter->fontsShown.size(), 1u);
  EXPECT_FALSE(prompter->fontsShown[0].styleName().isEmpty()) << "the dialog can find the style";

  QFont big = view.font();
  big.setPixelSize(40);
  big.setBold(true);
  prompter->fontAnswer = big;
  view.OnSetFont();
  EXPECT_EQ(view.GetListFont().height, -40);
  EXPECT_EQ(view.GetListFont().weight, kFontWeightBold);
  EXPECT_GE(view.rowHeight(0), 40) << "rows grow with the font";
  const QFontMetrics metrics(view.font());
  EXPECT_GE(view.columnWidth(gui::kRawColumn), gui::ReadingCellDelegate::WidthFor("65535", metrics, &view));
  for (int row = 0; row < view.Model().rowCount(); ++row) {
    const auto text = [&](int column) { return view.Model().index(row, column).data().toString(); };
    EXPECT_GE(view.columnWidth(gui::kIdColumn),
              gui::IdCellDelegate::WidthFor(text(gui::kIdColumn), metrics, view.iconSize()));
    for (const int column : {gui::kValueColumn, gui::kRawColumn}) {
      ASSERT_FALSE(text(column).isEmpty());
      EXPECT_GE(view.columnWidth(column), gui::ReadingCellDelegate::WidthFor(text(column), metrics, &view)) << row;
    }
  }
  EXPECT_EQ(view.Document().ColumnWidths(), view.GetColumnWidths()) << "a save keeps the new widths";
}

TEST(EntOffset, RefusesTextThatIsNoNumberAndStaysOpen) {
  const std::pair<const char*, std::optional<float>> cases[] = {
      {"0", 0.0F}, {" 12.5 ", 12.5F}, {"-3", -3.0F}, {"1e2", 100.0F}, {"", {}}, {"1,5", {}}, {"12a", {}}, {"1e40", {}}};
  for (const auto& [typed, value] : cases) EXPECT_EQ(gui::ParseFloatEntry(typed), value) << '"' << typed << '"';
  RecordingPrompter said;
  gui::CEntOffset dialog(said);
  EXPECT_EQ(dialog.ValueBox().text(), "0");
  dialog.ValueBox().setText(QStringLiteral("12a"));
  dialog.accept();
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(said.messages, std::vector<std::string>{std::string(msg::kEnterNumber)});
  dialog.ValueBox().setText(QStringLiteral(" 12.5 "));
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.m_fValue, 12.5F);
}

// The dialog lists the level's channels by name with the shown ones checked; OK takes the
// checked ones in list order, Cancel leaves the rows, and an emptied list keeps the updates.
TEST_F(MonitorViewTest, EditChannelsListsTheLevelsChannelsAndTakesTheCheckedInListOrder) {
  Stop();
  Store().WriteString(reg::kHardware, reg::kLevel, "1");
  StartOnLine();
  CMonitorView& view = WindowWith(std::vector<std::uint16_t>{70, 5, 300});
  view.OnEditChannels();  // no script: Cancel
  EXPECT_EQ(view.Model().rowCount(), 3);
  EXPECT_EQ(view.Document().Channels()[0], 70);
  EXPECT_EQ(prompter->modalTitles.back(), "Active Channels");

  prompter->AcceptNext<gui::CChanSelectionDlg>([](auto& dialog) {
    QListWidget& list = dialog.CheckList();
    std::vector<QString> checked;
    for (int i = 0; i < list.count(); ++i)
      if (list.item(i)->checkState() == Qt::Checked) checked.push_back(list.item(i)->text());
    EXPECT_EQ(list.count(), 95);
    ASSERT_EQ(checked.size(), 2U);
    EXPECT_TRUE(checked[0].startsWith("005  FUEL PRESS")) << checked[0].toStdString();
    EXPECT_TRUE(checked[1].startsWith("070  GEAR")) << checked[1].toStdString();
    list.item(0)->setCheckState(Qt::Checked);
  });
  view.OnEditChannels();
  ASSERT_EQ(view.Model().rowCount(), 3);
  const std::pair<int, std::uint16_t> chosen[] = {{0, 0}, {1, 5}, {2, 70}};  // row, channel in list order
  for (const auto& [row, channel] : chosen) EXPECT_EQ(view.Model().Channel(row), channel);

  prompter->AcceptNext<gui::CChanSelectionDlg>([](auto& dialog) {
    for (int i = 0; i < dialog.CheckList().count(); ++i) dialog.CheckList().item(i)->setCheckState(Qt::Unchecked);
  });
  view.OnEditChannels();
  EXPECT_EQ(view.Model().rowCount(), 0);
  EXPECT_TRUE(view.Document().IsStarted());
  EXPECT_EQ(TransfersOf([&] { Update(view); }), 0);
}

TEST_F(MonitorViewTest, FramesAreNamedAndCloseFromThePopup) {
  gui::CChildFrame untitled(*prompter);
  untitled.OnUpdateFrameTitle();
  EXPECT_EQ(untitled.windowTitle(), "Untitled");

  gui::CChildFrame& first = NewWindow();
  gui::CChildFrame& second = NewWindow();
  EXPECT_EQ(first.windowTitle(), "Monitor");
  EXPECT_EQ(second.windowTitle(), "Monitor");
  EXPECT_TRUE(ViewOf(second).Model().rowCount() == 0 && !ViewOf(second).Document().IsStarted());

  const std::pair<std::optional<QString>, QString> renames[] = {
      // typed (nullopt: Cancel), caption
      {QStringLiteral("Oil"), QStringLiteral("Oil")},
      {std::nullopt, QStringLiteral("Oil")},
      {QString(), QString()},
      {QString(100, QChar('n')), QString(79, QChar('n'))},
      {QString(40, QChar(0xE9)), QString(39, QChar(0xE9))},  // two bytes each
  };
  for (const auto& [typed, caption] : renames) {
    prompter->dialogScripts.push_back([&typed](QDialog& dialog) {
      if (!typed) return false;
      static_cast<gui::CWindowTitleDlg&>(dialog).NameBox().setText(*typed);
      dialog.accept();
      return true;
    });
    first.OnWindowName();
    EXPECT_EQ(first.windowTitle(), caption);
    EXPECT_EQ(first.WindowName(), caption);
  }
  EXPECT_EQ(prompter->modalTitles.back(), "Enter window name");

  QPointer<gui::CChildFrame> alive(&first);
  prompter->popupChoice = QStringLiteral("Close");
  RightClick(ViewOf(first));
  RunPosted();
  EXPECT_TRUE(alive.isNull());
  EXPECT_EQ(Frames(), std::vector<gui::CChildFrame*>{&second});
}

// Values that are not live are drawn greyed, with the time of their reading and its age in the
// Value and Raw cells' tooltips: a download's pause greys them once they are old, the LCU going
// off line at once. The next reading draws them normally again.
TEST_F(MonitorViewTest, ValuesThatAreNotLiveAreGreyedWithTheTimeOfTheirReading) {
  CMonitorView& view = WindowWith(Range(0, 4));
  view.resize(400, 200);
  QSignalSpy changes(&view.Model(), &QAbstractItemModel::dataChanged);
  const auto cell = [&](int column) { return view.model()->index(1, column); };
  const auto drawnDarkest = [&] {
    return DarkestIn(view.viewport()->grab().toImage(), view.visualRect(cell(gui::kValueColumn)));
  };
  // The note of the reading's time, in the list's bottom corner, below the rows.
  const auto noteDrawn = [&] {
    const QImage image = view.viewport()->grab().toImage();
    const QRect strip = gui::LastReadNoteStrip(*view.viewport());
    return DarkestIn(image, strip) < qGray(view.palette().color(QPalette::Base).rgb());
  };
  QSignalSpy notes(&view.Model(), &gui::MonitorTableModel::staleNoteChanged);
  EXPECT_FALSE(view.Model().IsLive()) << "nothing read yet";
  Update(view);
  EXPECT_TRUE(view.Model().IsLive());
  EXPECT_FALSE(cell(gui::kValueColumn).data(Qt::ForegroundRole).isValid());
  EXPECT_TRUE(cell(gui::kRawColumn).data(Qt::ToolTipRole).isNull());
  const int liveDarkest = drawnDarkest();
  EXPECT_FALSE(noteDrawn());

  // In a selected row the text is dimmed towards the selection's colour.
  const auto selectedText = [&] {
    const QImage image = view.viewport()->grab().toImage();
    const QRect rect = view.visualRect(cell(gui::kValueColumn));
    int lightest = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
      for (int x = rect.left(); x <= rect.right(); ++x) lightest = std::max(lightest, qGray(image.pixel(x, y)));
    return lightest;
  };
  int staleSelected = 0;
  InsideDownloadPause(app->Link(), [&] {
    Clock().Advance(kReadingsCurrentFor);
    view.Model().CheckLive();
    EXPECT_TRUE(view.Model().IsLive()) << "a late tick is not yet old";
    Clock().Advance(std::chrono::milliseconds(1));
    EXPECT_EQ(TransfersOf([&] { Update(view); }), 0);
    changes.clear();
    view.Model().CheckLive();
    EXPECT_FALSE(view.Model().IsLive());
    ASSERT_EQ(changes.count(), 2) << "the Value and Raw columns";
    EXPECT_EQ(changes[0][2].value<QList<int>>(), QList<int>{Qt::ForegroundRole});
    for (const int column : {int{gui::kValueColumn}, int{gui::kRawColumn}}) {
      EXPECT_EQ(cell(column).data(Qt::ForegroundRole).value<QBrush>().color(),
                QGuiApplication::palette().color(QPalette::Disabled, QPalette::Text));
    }
    EXPECT_FALSE(cell(gui::kChannelColumn).data(Qt::ForegroundRole).isValid()) << "only the values grow old";
    EXPECT_EQ(cell(gui::kRawColumn).data(Qt::ToolTipRole).toString(), "last read 13:52:44, 1 s ago");
    Clock().Advance(std::chrono::seconds(54));
    const QStringList valueTip = cell(gui::kValueColumn).data(Qt::ToolTipRole).toString().split('\n');
    EXPECT_EQ(valueTip.front(), "last read 13:52:44, 55 s ago");
    EXPECT_GE(valueTip.size(), 3) << "the conversion follows";
    EXPECT_GT(drawnDarkest(), liveDarkest + 40) << "the text is drawn grey";
    SelectRows(view, {1});
    staleSelected = selectedText();
  });
  Update(view);
  EXPECT_GT(selectedText(), staleSelected + 40) << "live, the selected text is the selection's own";
  view.clearSelection();
  InsideDownloadPause(app->Link(), [&] {
    Clock().Advance(kReadingsCurrentFor + std::chrono::milliseconds(1));
    view.Model().CheckLive();
    ASSERT_FALSE(view.Model().IsLive());
    EXPECT_TRUE(noteDrawn());
    const qsizetype noted = notes.count();
    view.Model().CheckLive();
    EXPECT_EQ(notes.count(), noted + 1) << "the note's age moves on";
  });
  Update(view);
  EXPECT_TRUE(view.Model().IsLive());
  EXPECT_FALSE(cell(gui::kValueColumn).data(Qt::ForegroundRole).isValid());
  EXPECT_EQ(drawnDarkest(), liveDarkest);
  EXPECT_FALSE(noteDrawn());

  Unplug();
  view.Model().CheckLive();
  EXPECT_FALSE(view.Model().IsLive()) << "off line, at once";
  EXPECT_EQ(cell(gui::kRawColumn).data(Qt::ToolTipRole).toString(), "last read 13:52:44, 0 s ago");
  Replug(2);
  Update(view);
  EXPECT_TRUE(view.Model().IsLive());
}

}  // namespace
}  // namespace lcu::test
