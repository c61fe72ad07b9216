// The memory window against the simulated LCU: its menu item, the rows and their refresh, the
// right-click write, and the address bar.
#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "core/memory/memory_row.h"
#include "core/messages/messages.h"
#include "core/session/reading_freshness.h"
#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"
#include "gui/memory/address_dlg.h"
#include "gui/memory/address_view.h"
#include "gui/memory/datum_dlg.h"
#include "gui/memory/memory_template.h"
#include "gui/memory/up_down_control.h"
#include "gui_fixture.h"
#include "support/fixed_clock.h"

namespace lcu::test {
namespace {

using gui::CAddressDlg;
using gui::CAddressView;
using gui::ToQString;

// Data memory the LCU keeps as written: the logger header behind the window.
constexpr std::uint16_t kScratch = 0x8100;

class MemoryViewTest : public OnLineGuiFixture {
 protected:
  void SetUp() override {
    OnLineGuiFixture::SetUp();
    prompter->passwordEntries = {ToQString(gui::text::kServicePassword1)};
    Choose(gui::cmd::kPassword);
    ASSERT_TRUE(Menu().IsEnabled(gui::cmd::kReadWriteData));
  }

  CAddressView& OpenMemoryWindow() {
    Choose(gui::cmd::kReadWriteData);
    CAddressView* view = app->MemoryKind().AddressView();
    EXPECT_NE(view, nullptr);
    return *view;
  }
  static QStringList Addresses(CAddressView& view) {
    QStringList addresses;
    for (int row = 0; row < view.Model().rowCount(); ++row) addresses.push_back(Cell(view, row, gui::kAddrColumn));
    return addresses;
  }
  static QStringList Run(int first, int count) {
    QStringList addresses;
    for (int i = 0; i < count; ++i) addresses.push_back(gui::AddressBarText(static_cast<std::uint16_t>(first + i)));
    return addresses;
  }

  static void ClickHeading(CAddressView& view, int column) {
    QHeaderView& header = *view.horizontalHeader();
    const QPoint inside(header.sectionViewportPosition(column) + header.sectionSize(column) / 2, header.height() / 2);
    QTest::mouseClick(header.viewport(), Qt::LeftButton, {}, inside);
  }
  static CAddressDlg& OpenBar(CAddressView& view) {
    ClickHeading(view, gui::kAddrColumn);
    EXPECT_FALSE(view.m_pAddressDlg.isNull());
    return *view.m_pAddressDlg;
  }
  static void Enter(CAddressDlg& bar, const QString& address, const QString& range) {
    bar.AddressBox().setText(address);
    bar.RangeBox().setText(range);
    QTest::keyClick(&bar.RangeBox(), Qt::Key_Return);
  }

  // Answers the next "Write Data" dialog with a format and a typed value, noting how it opened.
  void TypeDatum(std::int32_t format, const QString& typed) {
    prompter->AcceptNext<gui::CDatumDlg>([this, format, typed](auto& datum) {
      shownText.push_back(datum.DataBox().text());
      shownFormat.push_back(datum.FormatButton(gui::g_nLastDataFormat).isChecked() ? gui::g_nLastDataFormat : -1);
      datum.FormatButton(format).click();
      datum.DataBox().setText(typed);
    });
  }
  std::uint8_t Byte(std::uint16_t address) const { return sim->ReadBlock(address)[0]; }
  void ClearScratch(CAddressView& view) {
    sim->WriteDataMemory(kScratch - 0x8000, std::vector<std::uint8_t>(16, 0));
    view.Document().SetRun(kScratch, view.Document().Range());
  }

  std::vector<QString> shownText;
  std::vector<std::int32_t> shownFormat;
};

TEST_F(MemoryViewTest, ANewWindowShowsTheSixteenRowsFrom8000AndRefreshesThemAndGraysItsMenuItemUntilItCloses) {
  CAddressView& view = OpenMemoryWindow();
  auto* frame = qobject_cast<gui::CChildFrame*>(view.parentWidget());
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->windowTitle(), ToQString(gui::text::kMemoryWindowName));
  EXPECT_TRUE(frame->isVisible());
  EXPECT_EQ(Addresses(view), Run(0x8000, 16));
  EXPECT_EQ(Session().NextDue(), Clock::TimePoint{} + kDocumentPeriod) << "read 200 ms after it opens";
  for (int column = 0; column < gui::kMemoryColumnCount; ++column)
    EXPECT_GE(view.columnWidth(column), gui::kMemoryColumnWidths[static_cast<std::size_t>(column)]) << column;

  EXPECT_FALSE(Menu().IsEnabled(gui::cmd::kReadWriteData));
  Choose(gui::cmd::kReadWriteData);
  EXPECT_EQ(Frame().MdiArea().subWindowList().size(), 1) << "one memory window at a time";

  frame->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(app->MemoryKind().AddressView(), nullptr);
  EXPECT_TRUE(Menu().IsEnabled(gui::cmd::kReadWriteData));
  CAddressView& again = OpenMemoryWindow();
  EXPECT_EQ(Addresses(again), Run(0x8000, 16)) << "a new window starts afresh";

  // The refresh writes the value cells once; a failed read keeps them.
  ClearScratch(again);
  const std::uint8_t bytes[] = {0x41, 0x0A, 0xFF};
  sim->WriteDataMemory(kScratch - 0x8000, bytes);
  QAbstractItemModelTester tester(&again.Model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
  QSignalSpy changes(&again.Model(), &QAbstractItemModel::dataChanged);
  Session().Serve(again.Document());
  ASSERT_EQ(changes.count(), 1);
  EXPECT_EQ(changes[0][0].value<QModelIndex>(), again.Model().index(0, gui::kDecColumn));
  EXPECT_EQ(changes[0][1].value<QModelIndex>(), again.Model().index(15, gui::kBinaryColumn));
  // The texts of each column are the core's memory row test.
  EXPECT_EQ(Cell(again, 0, gui::kAddrColumn), QStringLiteral("8100"));
  EXPECT_EQ(Cell(again, 0, gui::kHexColumn), QStringLiteral("41"));
  EXPECT_EQ(Cell(again, 2, gui::kBinaryColumn), QStringLiteral("11111111"));

  const std::uint8_t changed[] = {0x42};
  sim->WriteDataMemory(kScratch - 0x8000, changed);
  sim->SetFaults({.failTransfer = 1});
  Session().Serve(again.Document());
  EXPECT_EQ(changes.count(), 1);
  EXPECT_EQ(Cell(again, 0, gui::kHexColumn), QStringLiteral("41"));
  EXPECT_TRUE(prompter->messages.empty());
}

// The dialog opens in the last format used and converts the entry in the format chosen.
TEST_F(MemoryViewTest, TheWriteSendsTheDatumToEverySelectedRowInTheChosenFormatAndNeedsTheLcu) {
  CAddressView& view = OpenMemoryWindow();
  gui::g_nLastDataFormat = 0;
  const struct {
    std::int32_t format;
    const char* typed;
    std::uint8_t stored;  // the datum's low byte, as the LCU keeps it
  } cases[] = {{1, "\xE9", 0xE9}, {3, "101", 0x05}, {0, "1F", 0x1F}};
  for (const auto& c : cases) {
    ClearScratch(view);
    SelectRows(view, {9, 2, 5});
    const std::int32_t before = gui::g_nLastDataFormat;
    TypeDatum(c.format, QString::fromLatin1(c.typed));
    EXPECT_EQ(TransfersOf([&] { RightClick(view); }), 3) << c.typed;
    EXPECT_EQ(shownFormat.back(), before) << c.typed;
    EXPECT_EQ(shownText.back(), before == 1 ? QStringLiteral(" ") : QStringLiteral("0")) << c.typed;
    EXPECT_EQ(gui::g_nLastDataFormat, c.format);
    for (const int row : {2, 5, 9}) EXPECT_EQ(Byte(static_cast<std::uint16_t>(kScratch + row)), c.stored) << c.typed;
    EXPECT_EQ(Byte(kScratch + 3), 0);
  }
  EXPECT_EQ(prompter->modalTitles, std::vector<QString>(3, ToQString(gui::text::kWriteDataCaption)));

  EXPECT_EQ(TransfersOf([&] { RightClick(view); }), 0) << "no script: Cancel";
  SelectRows(view, {});
  TypeDatum(0, QStringLiteral("7"));
  EXPECT_EQ(TransfersOf([&] { RightClick(view); }), 0) << "no row selected";
  EXPECT_TRUE(prompter->messages.empty());

  Unplug();
  prompter->modalTitles.clear();
  EXPECT_EQ(TransfersOf([&] { RightClick(view); }), 0);
  EXPECT_EQ(prompter->messages, std::vector<std::string>{std::string(msg::kLcuOffline)});
  EXPECT_TRUE(prompter->modalTitles.empty());
}

// Only the Addr heading opens the bar, and only while none is open; Escape closes it.
TEST_F(MemoryViewTest, TheAddressBarOpensFromTheAddrHeadingAndAppliesValidEntries) {
  CAddressView& view = OpenMemoryWindow();
  ClickHeading(view, gui::kHexColumn);
  EXPECT_TRUE(view.m_pAddressDlg.isNull());
  CAddressDlg& first = OpenBar(view);
  EXPECT_TRUE(first.isVisible());
  EXPECT_EQ(first.windowTitle(), ToQString(gui::text::kAddressBarCaption));
  EXPECT_EQ(first.AddressBox().text(), QStringLiteral("8000"));
  EXPECT_EQ(first.RangeBox().text(), QStringLiteral("16"));
  ClickHeading(view, gui::kAddrColumn);
  EXPECT_EQ(view.m_pAddressDlg.data(), &first);

  QPointer<CAddressDlg> closed(&first);
  QTest::keyClick(&first.AddressBox(), Qt::Key_Escape);
  EXPECT_TRUE(view.m_pAddressDlg.isNull());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(closed.isNull());

  // Enter applies the address and a valid range only.
  CAddressDlg& bar = OpenBar(view);
  Enter(bar, QStringLiteral("FFF8"), QStringLiteral("16"));
  EXPECT_EQ(Addresses(view), Run(0xFFF8, 8)) << "the rows stop at the top of memory";
  Enter(bar, QStringLiteral("0x10"), QStringLiteral("64"));
  EXPECT_EQ(Addresses(view), Run(0x0010, 64));
  EXPECT_TRUE(bar.isVisible());
  EXPECT_TRUE(prompter->messages.empty());

  Enter(bar, QStringLiteral("9000"), QStringLiteral("8"));
  const std::pair<const char*, std::string_view> refused[] = {{"65", msg::kEnterIntegerInMemoryRange},
                                                              {"8x", msg::kEnterInteger}};
  for (const auto& [range, message] : refused) {
    SCOPED_TRACE(range);
    prompter->messages.clear();
    Enter(bar, QStringLiteral("A000"), QString::fromLatin1(range));
    EXPECT_EQ(prompter->messages, std::vector<std::string>{std::string(message)});
    EXPECT_EQ(view.Document().Address(), 0x9000);
    EXPECT_EQ(view.Document().Range(), 8);
    EXPECT_EQ(Addresses(view), Run(0x9000, 8));
    EXPECT_EQ(bar.focusWidget(), &bar.RangeBox());
  }

  // The arrows step one page of the view's range (where a step stops is the core's test).
  view.Document().SetRun(0x8000, 16);
  bar.RangeBox().setText(QStringLiteral("4"));  // not applied: the step uses the view's 16
  bar.Spin().UpButton().click();
  EXPECT_EQ(bar.AddressBox().text(), QStringLiteral("8010"));
  EXPECT_EQ(Addresses(view), Run(0x8010, 16));
  bar.Spin().DownButton().click();
  EXPECT_EQ(view.Document().Address(), 0x8000);

  // The frame tells its view each show state: minimized hides the bar, restored shows it.
  auto* frame = qobject_cast<gui::CChildFrame*>(view.parentWidget());
  for (void (QWidget::*show)() : {&QWidget::showMinimized, &QWidget::showNormal, &QWidget::showMaximized,
                                  &QWidget::showMinimized, &QWidget::showMaximized}) {
    (frame->*show)();
    EXPECT_EQ(bar.isVisible(), show != &QWidget::showMinimized);
  }
}

// Bytes that are not live are drawn greyed with the time of their reading in the tooltips of
// the byte cells; the addresses stay as they are. The next read brings them back.
TEST_F(MemoryViewTest, BytesThatAreNotLiveAreGreyedWithTheTimeOfTheirReading) {
  CAddressView& view = OpenMemoryWindow();
  auto& clock = static_cast<FixedClock&>(app->Context().clock);
  const auto cell = [&](int column) { return view.model()->index(0, column); };
  const QColor grey = QGuiApplication::palette().color(QPalette::Disabled, QPalette::Text);
  ASSERT_TRUE(Session().Serve(view.Document()));
  EXPECT_TRUE(view.Model().IsLive());
  EXPECT_FALSE(cell(gui::kHexColumn).data(Qt::ForegroundRole).isValid());
  EXPECT_TRUE(cell(gui::kHexColumn).data(Qt::ToolTipRole).isNull());

  clock.Advance(kReadingsCurrentFor + std::chrono::seconds(2));
  QSignalSpy changes(&view.Model(), &QAbstractItemModel::dataChanged);
  view.Model().CheckLive();
  EXPECT_EQ(changes.count(), 1);
  EXPECT_EQ(cell(gui::kHexColumn).data(Qt::ForegroundRole).value<QBrush>().color(), grey);
  EXPECT_EQ(cell(gui::kBinaryColumn).data(Qt::ToolTipRole).toString(), "last read 13:52:44, 3 s ago");
  EXPECT_FALSE(cell(gui::kAddrColumn).data(Qt::ForegroundRole).isValid());
  EXPECT_TRUE(cell(gui::kAddrColumn).data(Qt::ToolTipRole).isNull());

  ASSERT_TRUE(Session().Serve(view.Document()));
  EXPECT_TRUE(view.Model().IsLive());
  Unplug();
  view.Model().CheckLive();
  EXPECT_FALSE(view.Model().IsLive()) << "off line, at once";
  EXPECT_FALSE(Session().Serve(view.Document()));
  EXPECT_FALSE(view.Model().IsLive());
}

}  // namespace
}  // namespace lcu::test
