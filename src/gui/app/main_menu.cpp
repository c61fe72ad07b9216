#include "gui/app/main_menu.h"

#include <span>
#include <string_view>

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "gui/app/command_ids.h"
#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"
#include "gui/monitor/chart_texts.h"

namespace lcu::gui {

namespace {

enum class Kind {
  kPlain,
  kCheck,   // shows a check mark
  kGrayed,  // starts grayed until the service password is entered (or, for Stop Recording, a
            // recording starts; for the Monitor menu, a monitor window is active)
  kSeparator,
};

struct Item {
  int id;
  std::string_view label;
  std::string_view prompt;
  Kind kind;
};

constexpr Item kSeparator{0, {}, {}, Kind::kSeparator};

constexpr Item kFileItems[] = {
    {cmd::kFileOpen, text::kOpenItem, text::kOpenPrompt, Kind::kPlain},
    {cmd::kFileClose, text::kCloseItem, text::kClosePrompt, Kind::kPlain},
    {cmd::kFileSave, text::kSaveItem, text::kSavePrompt, Kind::kPlain},
    {cmd::kFileSaveAs, text::kSaveAsItem, text::kSaveAsPrompt, Kind::kPlain},
    kSeparator,
    {cmd::kRecordChannels, text::kRecordChannelsItem, text::kRecordChannelsPrompt, Kind::kPlain},
    {cmd::kStopRecording, text::kStopRecordingItem, text::kStopRecordingPrompt, Kind::kGrayed},
    kSeparator,
    {cmd::kLcuConfiguration, text::kLcuConfigurationItem, text::kLcuConfigurationPrompt, Kind::kPlain},
    {cmd::kInitializeLcu, text::kInitializeLcuItem, text::kInitializeLcuPrompt, Kind::kGrayed},
    kSeparator,
    {cmd::kPassword, text::kPasswordItem, text::kPasswordPrompt, Kind::kPlain},
    {cmd::kResetLogbook, text::kResetLogbookItem, text::kResetLogbookPrompt, Kind::kPlain},
    kSeparator,
    {cmd::kAppExit, text::kExitItem, text::kExitPrompt, Kind::kPlain},
};

constexpr Item kViewItems[] = {
    {cmd::kStripChart, text::kStripChartItem, text::kStripChartPrompt, Kind::kCheck},
};

// The active monitor window's commands; Strip Chart is the View menu's item itself.
constexpr Item kMonitorItems[] = {
    {cmd::kEditChannels, text::kEditChannelsMenuItem, text::kEditChannelsPrompt, Kind::kGrayed},
    {cmd::kWindowName, text::kWindowNameMenuItem, text::kWindowNamePrompt, Kind::kGrayed},
    {cmd::kSetFont, text::kSetFontMenuItem, text::kSetFontPrompt, Kind::kGrayed},
    kSeparator,
    {cmd::kZeroSelectedChannels, text::kZeroSelectedItem, text::kZeroSelectedPrompt, Kind::kGrayed},
    {cmd::kZeroAllChannels, text::kZeroAllMenuItem, text::kZeroAllChannelsPrompt, Kind::kGrayed},
    {cmd::kUndoZeroing, text::kUndoZeroingMenuItem, text::kUndoZeroingPrompt, Kind::kGrayed},
    kSeparator,
    {cmd::kStripChart, text::kStripChartItem, text::kStripChartPrompt, Kind::kCheck},
    {cmd::kSetChartRange, text::kSetRangeMenuItem, text::kSetRangePrompt, Kind::kGrayed},
    kSeparator,
    {cmd::kCopyRows, text::kCopyItem, text::kCopyPrompt, Kind::kGrayed},
};

constexpr Item kLoggerItems[] = {
    {cmd::kDownload, text::kDownloadItem, text::kDownloadPrompt, Kind::kPlain},
    {cmd::kStopDownload, text::kStopDownloadItem, text::kStopDownloadPrompt, Kind::kPlain},
    {cmd::kAutoDownload, text::kAutoDownloadItem, text::kAutoDownloadPrompt, Kind::kCheck},
    kSeparator,
    {cmd::kSendConfig, text::kSendConfigItem, text::kSendConfigPrompt, Kind::kPlain},
    {cmd::kExtractSetup, text::kExtractSetupItem, text::kExtractSetupPrompt, Kind::kPlain},
    {cmd::kLcuCheck, text::kLcuCheckItem, text::kLcuCheckPrompt, Kind::kPlain},
    {cmd::kSetLcuClock, text::kSetLcuClockItem, text::kSetLcuClockPrompt, Kind::kPlain},
    kSeparator,
    {cmd::kSessionData, text::kSessionDataItem, text::kSessionDataPrompt, Kind::kPlain},
    {cmd::kPreserveQmt, text::kPreserveQmtItem, text::kPreserveQmtPrompt, Kind::kCheck},
};

constexpr Item kSysconItems[] = {
    {cmd::kLoadHexFile, text::kLoadHexFileItem, text::kLoadHexFilePrompt, Kind::kPlain},
    {cmd::kReadHexFile, text::kReadHexFileItem, text::kReadHexFilePrompt, Kind::kGrayed},
    kSeparator,
    {cmd::kReadWriteData, text::kReadWriteDataItem, text::kReadWriteDataPrompt, Kind::kGrayed},
    kSeparator,
    {cmd::kRefreshCalibration, text::kRefreshCalibrationItem, text::kRefreshCalibrationPrompt, Kind::kPlain},
    {cmd::kProtectData, text::kProtectDataItem, text::kProtectDataPrompt, Kind::kCheck},
    kSeparator,
    {cmd::kStartLogger, text::kStartLoggerItem, text::kStartLoggerPrompt, Kind::kCheck},
};

constexpr Item kWindowItems[] = {
    {cmd::kNewWindow, text::kNewWindowItem, text::kNewWindowPrompt, Kind::kPlain},
    kSeparator,
    {cmd::kWindowCascade, text::kCascadeItem, text::kCascadePrompt, Kind::kPlain},
    {cmd::kWindowTile, text::kTileItem, text::kTilePrompt, Kind::kPlain},
    {cmd::kWindowArrange, text::kArrangeIconsItem, text::kArrangeIconsPrompt, Kind::kPlain},
};

constexpr Item kHelpItems[] = {
    {cmd::kAppAbout, text::kAboutItem, text::kAboutPrompt, Kind::kPlain},
};

struct Menu {
  std::string_view title;
  std::span<const Item> items;
};

constexpr Menu kMenus[] = {
    {text::kFileMenu, kFileItems},     {text::kViewMenu, kViewItems},     {text::kMonitorMenu, kMonitorItems},
    {text::kLoggerMenu, kLoggerItems}, {text::kSysconMenu, kSysconItems}, {text::kWindowMenu, kWindowItems},
    {text::kHelpMenu, kHelpItems},
};

// The shortcut of a label is the text after its tab ("&Save\tCtrl+S" has Ctrl+S).
QKeySequence ShortcutOf(std::string_view label) {
  const auto tab = label.find('\t');
  if (tab == std::string_view::npos) return {};
  return QKeySequence::fromString(ToQString(label.substr(tab + 1)), QKeySequence::PortableText);
}

}  // namespace

MainMenu::MainMenu(QMainWindow& window) : QObject(&window) {
  QMenuBar* bar = window.menuBar();
  for (const Menu& menu : kMenus) {
    QMenu* popup = bar->addMenu(ToQString(menu.title));
    for (const Item& item : menu.items) {
      if (item.kind == Kind::kSeparator) {
        popup->addSeparator();
        continue;
      }
      // An item in two menus is one action: its state is the same in both.
      if (QAction* shared = Action(item.id)) {
        popup->addAction(shared);
        continue;
      }
      QAction* action = AddItem(*popup, item.id, item.kind == Kind::kCheck);
      action->setText(ToQString(item.label));
      action->setShortcut(ShortcutOf(item.label));
      action->setStatusTip(ToQString(item.prompt));
      action->setEnabled(item.kind != Kind::kGrayed);
      popup->addAction(action);
    }
  }
  // The keys that move to the next and the previous child window have no menu item; they
  // belong to the window so that they work wherever the focus is inside it.
  AddItem(window, cmd::kNextPane, false)->setShortcut(QKeySequence(ToQString(text::kNextPaneKey)));
  AddItem(window, cmd::kPreviousPane, false)->setShortcut(QKeySequence(ToQString(text::kPreviousPaneKey)));
  window.addAction(Action(cmd::kNextPane));
  window.addAction(Action(cmd::kPreviousPane));
}

QAction* MainMenu::AddItem(QObject& owner, int commandId, bool checkable) {
  auto* action = new QAction(&owner);
  m_actions[commandId] = action;
  if (checkable) {
    action->setCheckable(true);
    m_checks[commandId] = false;
    // Qt flips a check item before it reports the choice; put the mark back where the
    // program left it, so that only the command (which runs next) decides it.
    connect(action, &QAction::triggered, this, [this, action, commandId] { action->setChecked(m_checks[commandId]); });
  }
  return action;
}

QAction* MainMenu::Action(int commandId) const {
  const auto it = m_actions.find(commandId);
  return it == m_actions.end() ? nullptr : it->second;
}

void MainMenu::SetEnabled(int commandId, bool enabled) {
  if (QAction* action = Action(commandId)) action->setEnabled(enabled);
}

bool MainMenu::IsEnabled(int commandId) const {
  const QAction* action = Action(commandId);
  return action && action->isEnabled();
}

void MainMenu::SetChecked(int commandId, bool checked) {
  const auto it = m_checks.find(commandId);
  if (it == m_checks.end()) return;
  it->second = checked;
  Action(commandId)->setChecked(checked);
}

bool MainMenu::IsChecked(int commandId) const {
  const QAction* action = Action(commandId);
  return action && action->isChecked();
}

}  // namespace lcu::gui
