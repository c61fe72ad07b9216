// The main menu: its shortcuts, the service lock and its password, the settings toggles with
// their check marks and registry values, and check marks that only the commands move.
#include <set>

#include <QAction>
#include <QMenuBar>

#include "core/messages/messages.h"
#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"
#include "gui_fixture.h"
#include "support/download_pause.h"

namespace lcu::test {
namespace {

using gui::ToQString;

constexpr int kServiceItems[] = {gui::cmd::kInitializeLcu, gui::cmd::kReadHexFile, gui::cmd::kReadWriteData};

class MainMenuTest : public GuiFixture {
 protected:
  bool Unlocked() {
    const bool first = Menu().IsEnabled(kServiceItems[0]);
    for (const int id : kServiceItems) EXPECT_EQ(Menu().IsEnabled(id), first) << "the service items change together";
    return first;
  }
};

TEST_F(MainMenuTest, ItemsHaveUniqueShortcutsAndPromptsAndOnlyTheServiceMonitorAndStopRecordingItemsStartGrayed) {
  Start();
  std::set<QString> shortcuts;
  std::set<QAction*> grayed = {Menu().Action(gui::cmd::kStopRecording)};  // it waits for a recording
  for (const int id : kServiceItems) grayed.insert(Menu().Action(id));
  // They wait for a monitor window.
  for (const int id :
       {gui::cmd::kEditChannels, gui::cmd::kWindowName, gui::cmd::kSetFont, gui::cmd::kZeroSelectedChannels,
        gui::cmd::kZeroAllChannels, gui::cmd::kUndoZeroing, gui::cmd::kSetChartRange, gui::cmd::kCopyRows})
    grayed.insert(Menu().Action(id));
  for (const QAction* menu : Frame().menuBar()->actions())
    for (QAction* item : menu->menu()->actions()) {
      if (item->isSeparator()) continue;
      EXPECT_EQ(item->isEnabled(), grayed.count(item) == 0) << item->text().toStdString();
      if (item->shortcut().isEmpty()) continue;
      EXPECT_TRUE(shortcuts.insert(item->shortcut().toString()).second) << item->text().toStdString();
      EXPECT_FALSE(item->statusTip().isEmpty()) << item->text().toStdString();
    }
  EXPECT_EQ(shortcuts.size(), 16U);
  EXPECT_EQ(Menu().Action(gui::cmd::kPassword)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
  EXPECT_EQ(Menu().Action(gui::cmd::kSendConfig)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
  EXPECT_EQ(Menu().Action(gui::cmd::kCopyRows)->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
  EXPECT_EQ(Menu().Action(gui::cmd::kEditChannels)->shortcut(), QKeySequence(Qt::Key_Insert));
  EXPECT_EQ(Menu().Action(gui::cmd::kInitializeLcu)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_I));

  // A refused Start Logger stays unchecked; pane zero shows the highlighted item's prompt, else Ready.
  test::InsideDownloadPause(app->Link(), [&] { Choose(gui::cmd::kStartLogger); });
  EXPECT_FALSE(Menu().IsChecked(gui::cmd::kStartLogger));
  EXPECT_EQ(prompter->messages, std::vector<std::string>{std::string(msg::kDownloadInProgress)});

  EXPECT_EQ(Frame().PaneText(0), ToQString(gui::text::kReady));
  Menu().Action(gui::cmd::kStartLogger)->showStatusText(&Frame());
  EXPECT_EQ(Frame().PaneText(0), ToQString(gui::text::kStartLoggerPrompt));
  QStatusTipEvent leave{QString()};
  QCoreApplication::sendEvent(&Frame(), &leave);
  EXPECT_EQ(Frame().PaneText(0), ToQString(gui::text::kReady));
}

// Entries are compared in lower case without trimming; a wrong one comes back in lower case.
TEST_F(MainMenuTest, PasswordEntriesUnlockTheServiceItems) {
  const struct {
    const char* name;
    std::vector<std::optional<QString>> entries;
    bool unlocked;
    std::size_t invalid;
  } cases[] = {
      {"first password in capitals", {"TARNWELL"}, true, 0},
      {"second password in mixed case", {"MossGate"}, true, 0},
      {"trailing blank, then Cancel", {"tarnwell ", std::nullopt}, false, 1},
      {"three wrong, then Cancel", {"WrOng", "b", "c", std::nullopt}, false, 3},
      {"wrong, then right", {"wrong", "mossgate"}, true, 1},
      {"Cancel at once", {std::nullopt}, false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Start();
    prompter->passwordEntries.assign(c.entries.begin(), c.entries.end());
    Choose(gui::cmd::kPassword);
    EXPECT_EQ(Unlocked(), c.unlocked);
    EXPECT_EQ(prompter->messages, std::vector<std::string>(c.invalid, std::string(gui::text::kInvalidPassword)));
    EXPECT_EQ(prompter->passwordShown[0], QString());
    if (c.entries.size() > 1 && c.entries[0]) {
      EXPECT_EQ(prompter->passwordShown[1], c.entries[0]->toLower());
    }
    prompter->passwordEntries = {QStringLiteral("nonsense"), std::nullopt};
    Choose(gui::cmd::kPassword);
    EXPECT_EQ(Unlocked(), c.unlocked) << "a wrong entry later locks nothing";
    Stop();
  }
}

// Any value but 0 counts as on, so the item switches it off.
TEST_F(MainMenuTest, SettingsTogglesFollowTheRegistryAndWriteItBack) {
  const struct {
    int id;
    std::string_view value;
    std::int32_t AppState::*flag;
  } toggles[] = {
      {gui::cmd::kAutoDownload, reg::kAutoDownload, &AppState::m_bAutoDownload},
      {gui::cmd::kProtectData, reg::kPreserveBuffer, &AppState::m_bPreserveBuffer},
      {gui::cmd::kPreserveQmt, reg::kPreserveQmt, &AppState::m_bPreserveQmt},
  };
  for (const auto& t : toggles) {
    SCOPED_TRACE(std::string(t.value));
    SetValue(reg::kSettings, t.value, 5);
    Start();
    for (const auto& other : toggles) {
      EXPECT_EQ(Menu().IsChecked(other.id), other.id == t.id);
      EXPECT_EQ(app->State().*other.flag, other.id == t.id ? 5 : 0);
    }
    Choose(t.id);
    EXPECT_FALSE(Menu().IsChecked(t.id));
    EXPECT_EQ(app->State().*t.flag, 0);
    EXPECT_EQ(Value(reg::kSettings, t.value), "0");
    Stop();
    SetValue(reg::kSettings, t.value, 0);
  }
}

}  // namespace
}  // namespace lcu::test
