// CMainFrame: the program's main window. It holds the child windows in its MDI area, shows
// the link state and the LCU's figures in the status bar, and runs the one timer that polls
// the LCU for the whole program. On a new connection it runs the automatic download and
// reloads the channel definitions; on every on-line tick it answers the channel-value
// request of the family's other programs. It keeps its placement in the settings.
#pragma once

#include <array>
#include <cstdint>

#include <QMainWindow>
#include <QString>
#include <QTimer>

#include "core/app/command_context.h"
#include "core/host/registry.h"
#include "core/logger/lcu_status_block.h"

class QLabel;
class QMdiArea;

namespace lcu::gui {

class MainMenu;

/// The tick state: whether the LCU was on line at the end of the last completed tick, and
/// how many on-line ticks in a row have been seen since it was not. A new main window
/// starts both at 0.
extern std::int32_t g_bWasOnline;
extern std::int32_t g_nConnectTicks;

/// Poll periods: until the first connection, and from then on.
inline constexpr int kWaitingPollMs = 500;
inline constexpr int kConnectedPollMs = 200;
/// On-line ticks in a row that make a connection.
inline constexpr int kConnectTicks = 2;
inline constexpr int kStatusPanes = 5;
/// Show states as "showCmd" keeps them.
inline constexpr int kShowNormal = 1;
inline constexpr int kShowMinimized = 2;
inline constexpr int kShowMaximized = 3;

class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  /// Places itself from the settings, builds the menu and the status bar ("OFF LINE") and
  /// starts polling every 500 ms. ctx carries the link, the settings and the user.
  explicit CMainFrame(CommandContext& ctx);
  /// Saves the placement (normal rectangle and show state) and answers "-1" for the
  /// channel value, since nobody serves it any more.
  ~CMainFrame() override;
  CMainFrame(const CMainFrame&) = delete;
  CMainFrame& operator=(const CMainFrame&) = delete;

  MainMenu& Menu() const { return *m_pMenu; }
  QMdiArea& MdiArea() const { return *m_pMdiArea; }

  /// Shows the window in the state "showCmd" names: 3 maximized, anything else normal (a
  /// window closed while minimized comes back normal).
  void ShowWithCommand(int showCmd);

  /// The text a status-bar pane shows (pane 0: the prompt of the highlighted item or
  /// "Ready").
  QString PaneText(int pane) const;
  int PollInterval() const { return m_timer.interval(); }
  bool IsPolling() const { return m_timer.isActive(); }

 public slots:
  /// The tick: polls the LCU and acts on what it finds.
  void OnTimer();

 signals:
  /// The connection actions of a new connection have run.
  void lcuConnected();
  /// The user asked to close the window; it closes whatever the handlers do.
  void closeRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateStatusBar();
  void ConnectFrameCommands();
  void ArrangeIcons();
  void SetPanes(const StatusPaneTexts& texts);
  void RunConnectionActions();
  void SavePlacement();

  CommandContext& m_ctx;
  Profile m_profile;
  MainMenu* m_pMenu;
  QMdiArea* m_pMdiArea;
  std::array<QLabel*, kStatusPanes> m_panes{};
  QTimer m_timer;
};

}  // namespace lcu::gui
