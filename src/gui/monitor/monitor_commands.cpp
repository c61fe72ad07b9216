#include "gui/monitor/monitor_commands.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QMdiArea>

#include "core/commands/channel_zeroing.h"
#include "gui/app/command_ids.h"
#include "gui/app/main_menu.h"
#include "gui/monitor/child_frame.h"
#include "gui/monitor/monitor_pane.h"
#include "gui/monitor/monitor_template.h"
#include "gui/monitor/monitor_view.h"
#include "gui/monitor/strip_chart.h"

namespace lcu::gui {

MonitorCommands::MonitorCommands(const CommandContext& ctx, MainMenu& menu, MonitorTemplate& kind, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_menu(menu), m_kind(kind) {
  // Each command goes to the window active when it is chosen.
  const auto onView = [this](int id, auto handler) {
    connect(m_menu.Action(id), &QAction::triggered, this, [this, handler] {
      if (MonitorPane* pane = ActivePane()) handler(*pane);
    });
  };
  onView(cmd::kEditChannels, [](MonitorPane& pane) { pane.View().OnEditChannels(); });
  onView(cmd::kSetFont, [](MonitorPane& pane) { pane.View().OnSetFont(); });
  onView(cmd::kZeroSelectedChannels, [](MonitorPane& pane) { pane.View().ZeroSelectedChannels(); });
  onView(cmd::kZeroAllChannels, [](MonitorPane& pane) { pane.View().OnZeroAllChannels(); });
  onView(cmd::kUndoZeroing, [](MonitorPane& pane) { pane.View().OnUndoZeroing(); });
  onView(cmd::kCopyRows, [](MonitorPane& pane) { pane.View().OnCopy(); });
  // The range is the chart's: the chart is shown so that the change can be seen.
  onView(cmd::kSetChartRange, [](MonitorPane& pane) {
    pane.ShowChart(true);
    pane.Chart().OnSetRange();
  });
  connect(m_menu.Action(cmd::kWindowName), &QAction::triggered, this, [this] {
    if (CChildFrame* frame = ActiveFrame(); frame && MonitorTemplate::PaneOf(*frame)) frame->OnWindowName();
  });
  connect(&kind.Area(), &QMdiArea::subWindowActivated, this, &MonitorCommands::OnWindowActivated);
  OnWindowActivated();
}

// The area's current window, not the signal's: the signal tells of none while the main
// window is inactive (a dialog is open), when the current window is still the one to serve.
CChildFrame* MonitorCommands::ActiveFrame() const {
  return qobject_cast<CChildFrame*>(m_kind.Area().currentSubWindow());
}

MonitorPane* MonitorCommands::ActivePane() const {
  CChildFrame* frame = ActiveFrame();
  return frame ? MonitorTemplate::PaneOf(*frame) : nullptr;
}

void MonitorCommands::OnWindowActivated() {
  MonitorPane* pane = ActivePane();
  if (pane != m_pane) {
    disconnect(m_selection);
    disconnect(m_rows);
    disconnect(m_zeroing);
    m_pane = pane;
    if (pane) {
      CMonitorView& view = pane->View();
      m_selection =
          connect(view.selectionModel(), &QItemSelectionModel::selectionChanged, this, &MonitorCommands::UpdateStates);
      m_rows = connect(&view.Model(), &QAbstractItemModel::modelReset, this, &MonitorCommands::UpdateStates);
      m_zeroing = connect(&view, &CMonitorView::zeroingChanged, this, &MonitorCommands::UpdateStates);
    }
  }
  UpdateStates();
}

void MonitorCommands::UpdateStates() {
  MonitorPane* pane = m_pane.data();
  const bool active = pane != nullptr;
  const bool selected = active && !pane->View().SelectedRows().empty();
  const bool rows = active && pane->View().Model().rowCount() != 0;
  for (const int id : {cmd::kEditChannels, cmd::kWindowName, cmd::kSetFont, cmd::kZeroAllChannels}) {
    m_menu.SetEnabled(id, active);
  }
  m_menu.SetEnabled(cmd::kZeroSelectedChannels, selected);
  m_menu.SetEnabled(cmd::kCopyRows, selected);
  m_menu.SetEnabled(cmd::kSetChartRange, rows);
  m_menu.SetEnabled(cmd::kUndoZeroing, active && CanUndoZeroing(m_ctx));
}

}  // namespace lcu::gui
