#include "gui/monitor/strip_chart_command.h"

#include <QMdiArea>

#include "gui/app/command_ids.h"
#include "gui/app/main_menu.h"
#include "gui/monitor/child_frame.h"
#include "gui/monitor/monitor_pane.h"
#include "gui/monitor/monitor_template.h"

namespace lcu::gui {

namespace {
MonitorPane* PaneOfWindow(QMdiSubWindow* window) {
  auto* frame = qobject_cast<CChildFrame*>(window);
  return frame ? MonitorTemplate::PaneOf(*frame) : nullptr;
}
}  // namespace

StripChartCommand::StripChartCommand(MainMenu& menu, MonitorTemplate& kind, QObject* parent)
    : QObject(parent), m_menu(menu), m_kind(kind) {
  connect(&kind.Area(), &QMdiArea::subWindowActivated, this, &StripChartCommand::OnWindowActivated);
  OnWindowActivated(kind.Area().currentSubWindow());
}

void StripChartCommand::OnStripChart() {
  if (MonitorPane* pane = PaneOfWindow(m_kind.Area().currentSubWindow())) pane->ShowChart(!pane->IsChartShown());
}

void StripChartCommand::OnWindowActivated(QMdiSubWindow* window) {
  disconnect(m_following);
  MonitorPane* pane = PaneOfWindow(window);
  m_menu.SetChecked(cmd::kStripChart, pane && pane->IsChartShown());
  if (pane) {
    m_following = connect(pane, &MonitorPane::chartShownChanged, this,
                          [this](bool shown) { m_menu.SetChecked(cmd::kStripChart, shown); });
  }
}

}  // namespace lcu::gui
