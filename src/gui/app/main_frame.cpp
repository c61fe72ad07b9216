#include "gui/app/main_frame.h"

#include <chrono>

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QShowEvent>
#include <QStatusBar>
#include <QWindow>

#include "gui/app/command_ids.h"
#include "gui/app/gui_texts.h"
#include "gui/app/logger_icon.h"
#include "gui/app/main_menu.h"
#include "gui/app/qt_text.h"
#include "gui/app/status_result.h"
#include "gui/app/window_cascade.h"
#include "gui/app/window_fit.h"
#include "gui/app/window_list_menu.h"

namespace lcu::gui {

namespace {

constexpr int kPaneWidth = 100;
// The pane that shows "ON LINE" or "OFF LINE".
constexpr std::size_t kLinkPane = 1;
// Lines "Ready" up with the prompts the status bar draws over it.
constexpr int kIdleTextIndent = 4;

// The window's placement before it has ever been closed.
constexpr int kDefaultTop = 0;
constexpr int kDefaultLeft = 0;
constexpr int kDefaultBottom = 600;
constexpr int kDefaultRight = 600;
// How often, and how many times, a placement waiting for the frame's margins looks at them:
// 5 s in all.
constexpr std::chrono::milliseconds kMarginLookPeriod{50};
constexpr int kMarginLooks = 100;

}  // namespace

CMainFrame::CMainFrame(CommandContext& ctx)
    : m_profile(ctx.store), m_pMenu(new MainMenu(*this)), m_pMdiArea(new QMdiArea(this)) {
  // The stored rectangle is the outer frame, title bar included.
  const int top = m_profile.GetProfileInt(reg::kSettings, reg::kTop, kDefaultTop);
  const int left = m_profile.GetProfileInt(reg::kSettings, reg::kLeft, kDefaultLeft);
  const qint64 bottom = m_profile.GetProfileInt(reg::kSettings, reg::kBottom, kDefaultBottom);
  const qint64 right = m_profile.GetProfileInt(reg::kSettings, reg::kRight, kDefaultRight);
  m_marginWatch.setInterval(kMarginLookPeriod);
  connect(&m_marginWatch, &QTimer::timeout, this, &CMainFrame::LookAtFrameMargins);
  PlaceFrame(left, top, right - left, bottom - top);
  setWindowIcon(LoggerIconSet());

  setCentralWidget(m_pMdiArea);
  CreateStatusBar();
  ConnectFrameCommands();
}

CMainFrame::~CMainFrame() { SavePlacement(); }

void CMainFrame::CreateStatusBar() {
  QStatusBar* bar = statusBar();
  for (std::size_t i = 0; i < m_panes.size(); ++i) {
    auto* pane = new QLabel(bar);
    m_panes[i] = pane;
    if (i == 0) {
      // The idle text; the prompt of a highlighted menu item is shown over it.
      pane->setText(ToQString(text::kReady));
      pane->setIndent(kIdleTextIndent);
      bar->addWidget(pane, 1);
    } else {
      pane->setFixedWidth(kPaneWidth);
      pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      if (i == kLinkPane) pane->installEventFilter(this);
      bar->addPermanentWidget(pane);
    }
  }
  const std::array<std::string_view, kIndicatorPanes> words = {text::kLoggingIndicator, text::kServiceIndicator,
                                                               text::kAutoIndicator};
  for (std::size_t i = 0; i < kIndicatorPanes; ++i) {
    auto* pane = new QLabel(ToQString(words[i]), bar);
    pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pane->setAlignment(Qt::AlignCenter);
    pane->setMinimumWidth(pane->sizeHint().width() + 2 * kIdleTextIndent);
    pane->hide();
    m_indicators[i] = pane;
    bar->addPermanentWidget(pane);
  }
  m_pResult = new StatusResult(*bar, *m_panes[kLinkPane]);
  SetPanes(OfflinePaneTexts());
}

void CMainFrame::ShowResult(const QString& text) { m_pResult->Show(text); }

int CMainFrame::ResultRoom() const { return m_pResult->Room(); }

void CMainFrame::ConnectFrameCommands() {
  connect(m_pMenu->Action(cmd::kAppExit), &QAction::triggered, this, &QWidget::close);
  connect(m_pMenu->Action(cmd::kWindowCascade), &QAction::triggered, this, [this] { CascadeWindows(*m_pMdiArea); });
  connect(m_pMenu->Action(cmd::kWindowTile), &QAction::triggered, m_pMdiArea, &QMdiArea::tileSubWindows);
  connect(m_pMenu->Action(cmd::kWindowArrange), &QAction::triggered, this, &CMainFrame::ArrangeIcons);
  // The fixed items' menu is the Window menu; the open windows are listed after them.
  if (auto* windowMenu = qobject_cast<QMenu*>(m_pMenu->Action(cmd::kWindowArrange)->parent())) {
    new WindowListMenu(*windowMenu, *m_pMdiArea);
  }
  connect(m_pMenu->Action(cmd::kNextPane), &QAction::triggered, m_pMdiArea, &QMdiArea::activateNextSubWindow);
  connect(m_pMenu->Action(cmd::kPreviousPane), &QAction::triggered, m_pMdiArea, &QMdiArea::activatePreviousSubWindow);
}

// Lines the minimized child windows up along the bottom edge of the MDI area, left to right.
void CMainFrame::ArrangeIcons() {
  int x = 0;
  const int bottom = m_pMdiArea->viewport()->height();
  for (QMdiSubWindow* child : m_pMdiArea->subWindowList()) {
    if (!child->isMinimized()) continue;
    child->move(x, bottom - child->height());
    x += child->width();
  }
}

void CMainFrame::ShowWithCommand(int showCmd) {
  if (showCmd == kShowMaximized) {
    showMaximized();
  } else {
    showNormal();
  }
}

QString CMainFrame::PaneText(int pane) const {
  if (pane < 0 || pane >= kStatusPanes) return {};
  if (pane == 0) {
    const QString prompt = statusBar()->currentMessage();
    if (!prompt.isEmpty()) return prompt;
  }
  return m_panes[static_cast<std::size_t>(pane)]->text();
}

void CMainFrame::SetPanes(const StatusPaneTexts& texts) {
  m_panes[kLinkPane]->setText(ToQString(texts.link));
  m_panes[2]->setText(ToQString(texts.lcu));
  m_panes[3]->setText(ToQString(texts.memory));
  m_panes[4]->setText(ToQString(texts.clock));
  const QString reason = ToQString(texts.offlineReason);
  if (reason == m_panes[kLinkPane]->toolTip()) return;
  m_panes[kLinkPane]->setToolTip(reason);
  if (m_bPointerOnLinkPane) ShowLinkReason();
}

void CMainFrame::SetIndicators(const StatusIndicators& indicators) {
  const std::array<bool, kIndicatorPanes> on = {indicators.logging, indicators.service, indicators.autoDownload};
  for (std::size_t i = 0; i < kIndicatorPanes; ++i) m_indicators[i]->setVisible(on[i]);
}

QStringList CMainFrame::ShownIndicators() const {
  QStringList words;
  for (const QLabel* pane : m_indicators) {
    if (!pane->isHidden()) words.append(pane->text());
  }
  return words;
}

// Set on every poll: a tip left as it was stays up while the pointer rests on the pane.
void CMainFrame::SetMemoryTip(const QString& tip) {
  if (tip != m_panes[3]->toolTip()) m_panes[3]->setToolTip(tip);
}

QString CMainFrame::MemoryTip() const { return m_panes[3]->toolTip(); }

// The link pane's tooltip says why the LCU is off line; while the pointer rests on the pane
// the status bar's prompt says it too.
bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_panes[kLinkPane] && (event->type() == QEvent::Enter || event->type() == QEvent::Leave)) {
    m_bPointerOnLinkPane = event->type() == QEvent::Enter;
    ShowLinkReason();
  }
  return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::ShowLinkReason() {
  const QString reason = m_panes[kLinkPane]->toolTip();
  if (m_bPointerOnLinkPane && !reason.isEmpty()) {
    statusBar()->showMessage(reason);
  } else {
    statusBar()->clearMessage();
  }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  emit closeRequested();
  event->accept();
}

void CMainFrame::PlaceFrame(int x, int y, qint64 width, qint64 height) {
  m_placedFrame = FitIntoArea(x, y, width, height, AvailableAreaAt(QPoint(x, y)));
  // Until the window system tells the frame's margins, the inner area is given the whole
  // frame; the placement is made again, exactly, once they are known.
  m_bPlacementPending = m_frameMargins.isNull();
  ApplyPlacedFrame();
}

// A window's position is that of its frame, its size that of its inner area.
void CMainFrame::ApplyPlacedFrame() {
  move(m_placedFrame.topLeft());
  resize(m_placedFrame.size().shrunkBy(m_frameMargins));
}

QRect CMainFrame::NormalFrameGeometry() const {
  // A placement still waiting for the margins is the rectangle the window is about to have
  // (a window shown maximized keeps waiting until it is restored).
  if (m_bPlacementPending && MarginsComeLate()) return m_placedFrame;
  if (windowState() == Qt::WindowNoState && isVisible()) return frameGeometry();
  const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
  return normal.marginsAdded(m_frameMargins);
}

// Under X11 a window manager puts its frame round the window some time after the window is
// shown, and only then are the margins known; a window system without a frame of its own
// (off screen) has none, and Windows gives them at once.
bool CMainFrame::MarginsComeLate() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

void CMainFrame::NoteFrameMargins() {
  if (windowState() != Qt::WindowNoState || !isVisible()) return;
  if (const QWindow* window = windowHandle()) {
    // The window system's own answer: the widget's frame geometry is only brought up to date
    // by an event of the widget, which framing alone need not cause.
    m_frameMargins = window->frameMargins();
  } else {
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    m_frameMargins = QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                              outer.bottom() - inner.bottom());
  }
  if (!m_bPlacementPending) return;
  if (!m_frameMargins.isNull()) {
    m_bPlacementPending = false;
    m_marginWatch.stop();
    // A window the program maximized or minimized meanwhile keeps what the window manager
    // gives it when it comes back: placing it again would take it out of that state.
    if (m_bShownNormal) ApplyPlacedFrame();
  } else if (!MarginsComeLate()) {
    m_bPlacementPending = false;
  }
}

// The frame's margins are known once the window is on screen (under X11, once the window
// manager has framed it): the inner area then gets what is left of the placed frame.
void CMainFrame::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  NoteFrameMargins();
  if (m_bPlacementPending && MarginsComeLate() && !m_marginWatch.isActive()) {
    m_nMarginLooks = 0;
    m_marginWatch.start();
  }
}

// A window manager frames a new window within moments; a display without one never does, and
// the placement as made is then the right one.
void CMainFrame::LookAtFrameMargins() {
  NoteFrameMargins();
  if (m_bPlacementPending && ++m_nMarginLooks >= kMarginLooks) {
    m_bPlacementPending = false;
    m_marginWatch.stop();
  }
}

void CMainFrame::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  NoteFrameMargins();
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  NoteFrameMargins();
}

// The program's own state changes are told apart from those the window manager reports,
// which may pass through the normal state on the way to the one asked for.
void CMainFrame::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange) return;
  if (!event->spontaneous()) m_bShownNormal = (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)) == 0;
  NoteFrameMargins();
}

void CMainFrame::SavePlacement() {
  // The normal rectangle is kept even for a maximized or minimized window, so that it comes
  // back to its restored size.
  const QRect normal = NormalFrameGeometry();
  const int showCmd = isMinimized() ? kShowMinimized : isMaximized() ? kShowMaximized : kShowNormal;
  m_profile.WriteProfileInt(reg::kSettings, reg::kShowCmd, showCmd);
  m_profile.WriteProfileInt(reg::kSettings, reg::kTop, normal.top());
  m_profile.WriteProfileInt(reg::kSettings, reg::kLeft, normal.left());
  m_profile.WriteProfileInt(reg::kSettings, reg::kBottom, normal.top() + normal.height());
  m_profile.WriteProfileInt(reg::kSettings, reg::kRight, normal.left() + normal.width());
}

}  // namespace lcu::gui
