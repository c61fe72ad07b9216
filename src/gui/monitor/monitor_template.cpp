#include "gui/monitor/monitor_template.h"

#include <QMdiArea>

#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"
#include "gui/app/window_fit.h"
#include "gui/monitor/child_frame.h"
#include "gui/monitor/monitor_pane.h"
#include "gui/monitor/monitor_view.h"

namespace lcu::gui {

namespace {
// Size of a new monitor window: the five default columns and a few rows.
constexpr int kNewFrameWidth = 380;
constexpr int kNewFrameHeight = 260;
}  // namespace

MonitorTemplate::MonitorTemplate(CommandContext& ctx, GuiPrompter& prompter, LcuSession& session, QMdiArea& area)
    : m_ctx(ctx), m_prompter(prompter), m_session(session), m_area(area) {}

CChildFrame& MonitorTemplate::CreateNewFrame() {
  auto* frame = new CChildFrame(m_prompter);
  frame->setWidget(new MonitorPane(m_ctx, m_prompter, m_session));
  m_area.addSubWindow(frame);
  frame->resize(kNewFrameWidth, kNewFrameHeight);
  return *frame;
}

void MonitorTemplate::InitialUpdateFrame(CChildFrame& frame, bool activate) {
  frame.OnUpdateFrameTitle();
  if (!frame.isVisible() && !frame.isMinimized() && !frame.isMaximized()) frame.show();
  if (activate) m_area.setActiveSubWindow(&frame);
}

CChildFrame& MonitorTemplate::OnNewWindow() {
  CChildFrame& frame = CreateNewFrame();
  frame.SetWindowName(ToQString(text::kMonitorWindowName));
  frame.move(CascadePosition(m_area, frame));
  InitialUpdateFrame(frame, true);
  return frame;
}

MonitorPane* MonitorTemplate::PaneOf(CChildFrame& frame) { return qobject_cast<MonitorPane*>(frame.widget()); }

CMonitorView* MonitorTemplate::MonitorViewOf(CChildFrame& frame) {
  MonitorPane* pane = PaneOf(frame);
  return pane ? &pane->View() : nullptr;
}

MonitorDocument* MonitorTemplate::DocumentOf(CChildFrame& frame) {
  CMonitorView* view = MonitorViewOf(frame);
  return view ? &view->Document() : nullptr;
}

std::vector<CChildFrame*> MonitorTemplate::Frames() const {
  std::vector<CChildFrame*> frames;
  for (QMdiSubWindow* child : m_area.subWindowList(QMdiArea::CreationOrder)) {
    if (auto* frame = qobject_cast<CChildFrame*>(child)) frames.push_back(frame);
  }
  return frames;
}

}  // namespace lcu::gui
