#include "gui/app/main_frame.h"

#include <string>

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>

#include "core/channels/channel_table.h"
#include "core/logger/logger_download.h"
#include "core/logger/maintenance_commands.h"
#include "gui/app/channel_value_request.h"
#include "gui/app/command_ids.h"
#include "gui/app/gui_texts.h"
#include "gui/app/logger_icon.h"
#include "gui/app/main_menu.h"
#include "gui/app/qt_text.h"

namespace lcu::gui {

std::int32_t g_bWasOnline = 0;
std::int32_t g_nConnectTicks = 0;

namespace {

constexpr int kPaneWidth = 100;
// Lines "Ready" up with the prompts the status bar draws over it.
constexpr int kIdleTextIndent = 4;

// The window's placement before it has ever been closed.
constexpr int kDefaultTop = 0;
constexpr int kDefaultLeft = 0;
constexpr int kDefaultBottom = 600;
constexpr int kDefaultRight = 600;

}  // namespace

CMainFrame::CMainFrame(CommandContext& ctx)
    : m_ctx(ctx), m_profile(ctx.store), m_pMenu(new MainMenu(*this)), m_pMdiArea(new QMdiArea(this)) {
  g_bWasOnline = 0;
  g_nConnectTicks = 0;

  const int top = m_profile.GetProfileInt(reg::kSettings, reg::kTop, kDefaultTop);
  const int left = m_profile.GetProfileInt(reg::kSettings, reg::kLeft, kDefaultLeft);
  const int bottom = m_profile.GetProfileInt(reg::kSettings, reg::kBottom, kDefaultBottom);
  const int right = m_profile.GetProfileInt(reg::kSettings, reg::kRight, kDefaultRight);
  setGeometry(left, top, right - left, bottom - top);
  setWindowIcon(LoggerIconSet());

  setCentralWidget(m_pMdiArea);
  CreateStatusBar();
  ConnectFrameCommands();

  connect(&m_timer, &QTimer::timeout, this, &CMainFrame::OnTimer);
  m_timer.start(kWaitingPollMs);
}

CMainFrame::~CMainFrame() {
  SavePlacement();
  m_profile.WriteProfileString(reg::kChannelData, reg::kChannelValue, kNoValue);
}

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
      bar->addPermanentWidget(pane);
    }
  }
  SetPanes(OfflinePaneTexts());
}

void CMainFrame::ConnectFrameCommands() {
  connect(m_pMenu->Action(cmd::kAppExit), &QAction::triggered, this, &QWidget::close);
  connect(m_pMenu->Action(cmd::kWindowCascade), &QAction::triggered, m_pMdiArea, &QMdiArea::cascadeSubWindows);
  connect(m_pMenu->Action(cmd::kWindowTile), &QAction::triggered, m_pMdiArea, &QMdiArea::tileSubWindows);
  connect(m_pMenu->Action(cmd::kWindowArrange), &QAction::triggered, this, &CMainFrame::ArrangeIcons);
  connect(m_pMenu->Action(cmd::kNextPane), &QAction::triggered, m_pMdiArea, &QMdiArea::activateNextSubWindow);
  connect(m_pMenu->Action(cmd::kPreviousPane), &QAction::triggered, m_pMdiArea,
          &QMdiArea::activatePreviousSubWindow);
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
  m_panes[1]->setText(ToQString(texts.link));
  m_panes[2]->setText(ToQString(texts.lcu));
  m_panes[3]->setText(ToQString(texts.memory));
  m_panes[4]->setText(ToQString(texts.clock));
}

void CMainFrame::OnTimer() {
  CUsbDevice& device = m_ctx.device;
  device.PollStatus();
  if (device.m_bOnline) {
    ServeChannelValueRequest(device, m_profile);
    const LcuStatusBlock status(device.m_status);
    m_profile.WriteProfileString(reg::kChannelData, reg::kCurrentLcu, std::to_string(status.LcuNumber()));
    SetPanes(OnlinePaneTexts(status));
    if (!g_bWasOnline) {
      // A connection needs answers on consecutive ticks; until then the LCU does not count
      // as having been on line.
      if (++g_nConnectTicks != kConnectTicks) return;
      RunConnectionActions();
      g_nConnectTicks = 0;
    }
  } else {
    m_profile.WriteProfileString(reg::kChannelData, reg::kChannelValue, kNoValue);
    m_profile.WriteProfileString(reg::kChannelData, reg::kCurrentLcu, kNoValue);
    SetPanes(OfflinePaneTexts());
    ResetLoggerStarted(m_ctx);
  }
  g_bWasOnline = device.m_bOnline;
  if (!g_bWasOnline) g_nConnectTicks = 0;
}

// The timer stays stopped while the actions run, so that no tick comes in while the
// download lets events through.
void CMainFrame::RunConnectionActions() {
  m_timer.stop();
  AutoDownload(m_ctx);
  LoadChannelDefinitions(m_ctx);
  m_timer.start(kConnectedPollMs);
  emit lcuConnected();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  emit closeRequested();
  event->accept();
}

void CMainFrame::SavePlacement() {
  // The normal rectangle is kept even for a maximized or minimized window, so that it comes
  // back to its restored size.
  const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
  const int showCmd = isMinimized() ? kShowMinimized : isMaximized() ? kShowMaximized : kShowNormal;
  m_profile.WriteProfileInt(reg::kSettings, reg::kShowCmd, showCmd);
  m_profile.WriteProfileInt(reg::kSettings, reg::kTop, normal.top());
  m_profile.WriteProfileInt(reg::kSettings, reg::kLeft, normal.left());
  m_profile.WriteProfileInt(reg::kSettings, reg::kBottom, normal.top() + normal.height());
  m_profile.WriteProfileInt(reg::kSettings, reg::kRight, normal.left() + normal.width());
}

}  // namespace lcu::gui
