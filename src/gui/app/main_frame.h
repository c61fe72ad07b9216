// CMainFrame: the program's main window. It holds the child windows in its MDI area, shows
// the link state and the LCU's figures in the status bar as the session reports them, and
// keeps its placement in the settings.
#pragma once

#include <array>

#include <QMainWindow>
#include <QMargins>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTimer>

#include "core/app/command_context.h"
#include "core/app/status_indicators.h"
#include "core/host/registry.h"
#include "core/logger/lcu_status_block.h"

class QLabel;
class QMdiArea;

namespace lcu::gui {

class MainMenu;
class StatusResult;

inline constexpr int kStatusPanes = 5;
/// The indicator panes right of them: LOGGING, SERVICE, AUTO.
inline constexpr std::size_t kIndicatorPanes = 3;
/// Show states as "showCmd" keeps them.
inline constexpr int kShowNormal = 1;
inline constexpr int kShowMinimized = 2;
inline constexpr int kShowMaximized = 3;

class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  /// Places itself from the settings and builds the menu and the status bar ("OFF LINE").
  /// ctx carries the settings.
  explicit CMainFrame(CommandContext& ctx);
  /// Saves the placement (normal rectangle and show state).
  ~CMainFrame() override;
  CMainFrame(const CMainFrame&) = delete;
  CMainFrame& operator=(const CMainFrame&) = delete;

  MainMenu& Menu() const { return *m_pMenu; }
  QMdiArea& MdiArea() const { return *m_pMdiArea; }

  /// Shows the window in the state "showCmd" names: 3 maximized, anything else normal (a
  /// window closed while minimized comes back normal).
  void ShowWithCommand(int showCmd);

  /// Places the window's outer frame (title bar included) at x, y with the size given,
  /// fitted into the work area of the screen it lands on.
  void PlaceFrame(int x, int y, qint64 width, qint64 height);
  /// The outer frame of the window's normal (not maximized, not minimized) rectangle.
  QRect NormalFrameGeometry() const;

  /// The text a status-bar pane shows (pane 0: the prompt of the highlighted item or
  /// "Ready").
  QString PaneText(int pane) const;

  /// Shows each indicator's word while its state holds; the pane of a state that does not
  /// hold is hidden, so that the prompts of pane 0 keep their room.
  void SetIndicators(const lcu::StatusIndicators& indicators);
  /// The indicator words shown now, left to right.
  QStringList ShownIndicators() const;
  /// The memory pane's tooltip (empty for none).
  void SetMemoryTip(const QString& tip);
  QString MemoryTip() const;
  /// Shows a command's result in the status bar's message area, cut to the room left of the
  /// panes; the whole text is the bar's tooltip while it shows.
  void ShowResult(const QString& text);
  /// The width of that room now.
  int ResultRoom() const;

 public slots:
  /// Shows the link state and the LCU's figures in panes 1 to 4.
  void SetPanes(const lcu::StatusPaneTexts& texts);

 signals:
  /// The user asked to close the window; it closes whatever the handlers do.
  void closeRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void CreateStatusBar();
  void ConnectFrameCommands();
  void ArrangeIcons();
  void SavePlacement();
  void ApplyPlacedFrame();
  void NoteFrameMargins();
  void LookAtFrameMargins();
  static bool MarginsComeLate();
  void ShowLinkReason();

  Profile m_profile;
  MainMenu* m_pMenu;
  QMdiArea* m_pMdiArea;
  std::array<QLabel*, kStatusPanes> m_panes{};
  std::array<QLabel*, kIndicatorPanes> m_indicators{};
  StatusResult* m_pResult = nullptr;
  QRect m_placedFrame;
  QMargins m_frameMargins;
  // The placed frame waits for the frame's margins to be made exact.
  bool m_bPlacementPending = false;
  // The program last asked for the normal state (not maximized, not minimized).
  bool m_bShownNormal = true;
  // Under X11 the window manager may frame the window without a move or resize of the window
  // itself: while a placement waits, the margins are looked at on this timer, for a while.
  QTimer m_marginWatch;
  int m_nMarginLooks = 0;
  bool m_bPointerOnLinkPane = false;
};

}  // namespace lcu::gui
