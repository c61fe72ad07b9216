// The pre-run check in the desktop program: the one check window that LCU Check... and a new
// connection open (the connection only when a line is amber or red), Set LCU Clock from the
// menu, Check Again, and the window's lines going stale off line and current again on the next
// connection.
#include <QLabel>
#include <QPushButton>

#include "core/messages/messages.h"
#include "core/util/little_endian.h"
#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"
#include "gui/logger/lcu_check_dlg.h"
#include "gui_fixture.h"

namespace lcu::test {
namespace {

using LcuCheckTest = GuiFixture;

// The levels of the window's rows, in the check's order, and every text it shows.
std::vector<int> Levels(const gui::LcuCheckDlg& window) {
  std::vector<int> levels;
  for (const QLabel* label : window.findChildren<QLabel*>())
    if (label->property("level").isValid()) levels.push_back(label->property("level").toInt());
  return levels;
}
QStringList Texts(const gui::LcuCheckDlg& window) {
  QStringList texts;
  for (const QLabel* label : window.findChildren<QLabel*>()) texts << label->text();
  return texts;
}

constexpr std::size_t kClockRow = static_cast<std::size_t>(CheckItem::kClock);

// The simulated LCU holds data that was never downloaded here: a line is amber.
TEST_F(LcuCheckTest, ConnectionOpensTheWindowOnlyWithSomethingToSayAndTheMenuBringsItBack) {
  StartOnLine();
  RunPosted();
  gui::LcuCheckDlg* window = Frame().findChild<gui::LcuCheckDlg*>();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(window->isModal());
  EXPECT_TRUE(prompter->modalTitles.empty());

  const std::vector<std::uint8_t> data = sim->DataMemory();
  const std::vector<std::uint8_t> program = sim->ProgramMemory();
  window->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  Choose(gui::cmd::kLcuCheck);
  const auto windows = Frame().findChildren<gui::LcuCheckDlg*>();
  ASSERT_EQ(windows.size(), 1);
  window = windows.front();
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(Levels(*window).size(), 8u);
  const QStringList texts = Texts(*window);
  EXPECT_TRUE(texts.contains(gui::ToQString(gui::text::kLcuCheckWarnings))) << texts.join('|').toStdString();
  EXPECT_TRUE(texts.contains(gui::ToQString(gui::text::kLcuCheckActionLead) + "Download"));
  EXPECT_TRUE(sim->DataMemory() == data);
  EXPECT_TRUE(sim->ProgramMemory() == program);

  // Nothing to say opens nothing: data a Protect Data download kept counts as downloaded.
  Stop();
  SetValue(reg::kSettings, reg::kAutoDownload, 1);
  SetValue(reg::kSettings, reg::kPreserveBuffer, 1);
  Start();
  auto& clock = static_cast<FixedClock&>(app->Context().clock);
  Tick();
  const std::uint16_t lcuMinutes = le::U16(sim->ReadBlock(0x8000), 6);
  clock.now.hour = lcuMinutes / 60 % 24;
  clock.now.minute = lcuMinutes % 60;
  Tick();
  ASSERT_TRUE(app->Device().IsOnline());
  ASSERT_NE(Value(reg::kDownloadSection, reg::kFile), "(missing)");
  RunPosted();
  EXPECT_EQ(Frame().findChild<gui::LcuCheckDlg*>(), nullptr);
}

// The clock line names Set LCU Clock; the menu's command asks (No keeps the clock), sets the
// LCU clock to the computer's minute and the open window shows the clock line green; Check
// Again reads the LCU afresh. Off line
// the window is greyed and says since when, Set LCU Clock is refused, and the next connection
// checks again.
TEST_F(LcuCheckTest, SetLcuClockFromTheMenuAndTheWindowOffAndBackOnLine) {
  StartOnLine();
  RunPosted();
  gui::LcuCheckDlg* window = Frame().findChild<gui::LcuCheckDlg*>();
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(Levels(*window)[kClockRow], static_cast<int>(CheckLevel::kWarning));
  EXPECT_TRUE(Texts(*window).join('|').contains("Set LCU Clock"));
  const std::uint16_t lcuClock = le::U16(sim->ReadBlock(0x8000), 6);

  prompter->answers = {false};
  Choose(gui::cmd::kSetLcuClock);
  EXPECT_EQ(prompter->questions, std::vector<std::string>{std::string(msg::kSetLcuClockContinue)});
  EXPECT_EQ(le::U16(sim->ReadBlock(0x8000), 6), lcuClock);

  prompter->answers = {true};
  Choose(gui::cmd::kSetLcuClock);
  EXPECT_EQ(le::U16(sim->ReadBlock(0x8000), 6), 13 * 60 + 52) << "the fixed clock's 13:52";
  EXPECT_EQ(Levels(*window)[kClockRow], static_cast<int>(CheckLevel::kOk));
  EXPECT_TRUE(prompter->messages.empty());

  // Check Again reads the LCU as it is now.
  const std::array<std::uint8_t, 2> lcuClockBytes = {static_cast<std::uint8_t>(lcuClock & 0xFF),
                                                     static_cast<std::uint8_t>(lcuClock >> 8)};
  sim->WriteDataMemory(6, lcuClockBytes);
  QPushButton* checkAgain = nullptr;
  for (QPushButton* button : window->findChildren<QPushButton*>())
    if (button->text() == gui::ToQString(gui::text::kCheckAgainButton)) checkAgain = button;
  ASSERT_NE(checkAgain, nullptr);
  checkAgain->click();
  EXPECT_EQ(Levels(*window)[kClockRow], static_cast<int>(CheckLevel::kWarning));
  prompter->answers = {true};
  Choose(gui::cmd::kSetLcuClock);

  Unplug();
  EXPECT_TRUE(window->IsStale());
  EXPECT_TRUE(Texts(*window).contains(gui::ToQString(gui::text::kLcuCheckStale).arg("13:52")));
  for (const QLabel* label : window->findChildren<QLabel*>()) {
    if (label->property("level").isValid()) {
      EXPECT_FALSE(label->isEnabled());
    }
  }
  prompter->answers = {true};
  Choose(gui::cmd::kSetLcuClock);
  EXPECT_EQ(prompter->messages, std::vector<std::string>{std::string(msg::kLcuOfflineDot)});

  Replug(2);
  RunPosted();
  EXPECT_FALSE(window->IsStale());
  EXPECT_EQ(Levels(*window)[kClockRow], static_cast<int>(CheckLevel::kOk));
  EXPECT_TRUE(Texts(*window).contains(gui::ToQString(gui::text::kLcuCheckWarnings)));
}

}  // namespace
}  // namespace lcu::test
