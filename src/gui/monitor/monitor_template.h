// MonitorTemplate: the monitor window kind. It makes the child frames that hold a monitor
// view (and so a monitor document the session serves) in the main window's MDI area, shows
// them, lists the frames in the order they were made, and runs the New Window command.
#pragma once

#include <vector>

#include "core/app/command_context.h"
#include "core/monitor/monitor_document.h"
#include "core/session/lcu_session.h"

class QMdiArea;

namespace lcu::gui {

class CChildFrame;
class MonitorPane;
class CMonitorView;
class GuiPrompter;

class MonitorTemplate {
 public:
  MonitorTemplate(CommandContext& ctx, GuiPrompter& prompter, LcuSession& session, QMdiArea& area);

  /// A new frame in the MDI area holding a new empty monitor view; not shown yet, so its
  /// name and placement can be set first.
  CChildFrame& CreateNewFrame();
  /// Shows the frame with its name as caption; activate also makes it the active window.
  void InitialUpdateFrame(CChildFrame& frame, bool activate);

  /// New Window: an empty monitor window named "Monitor", shown and active.
  CChildFrame& OnNewWindow();

  /// The monitor view a frame holds (with its chart, in its pane), and its document; null
  /// for other child windows.
  static MonitorPane* PaneOf(CChildFrame& frame);
  static CMonitorView* MonitorViewOf(CChildFrame& frame);
  static MonitorDocument* DocumentOf(CChildFrame& frame);
  /// Every child frame of the MDI area, in the order they were made.
  std::vector<CChildFrame*> Frames() const;

  QMdiArea& Area() const { return m_area; }

 private:
  CommandContext& m_ctx;
  GuiPrompter& m_prompter;
  LcuSession& m_session;
  QMdiArea& m_area;
};

}  // namespace lcu::gui
