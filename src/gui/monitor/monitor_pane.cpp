#include "gui/monitor/monitor_pane.h"

#include <algorithm>

#include "gui/monitor/monitor_view.h"
#include "gui/monitor/strip_chart.h"

namespace lcu::gui {

MonitorPane::MonitorPane(CommandContext& ctx, GuiPrompter& prompter, LcuSession& session, QWidget* parent)
    : QSplitter(Qt::Vertical, parent), m_pView(new CMonitorView(ctx, prompter, session)) {
  m_pChart = new StripChart(m_pView->Document(), session, ctx.app, ctx.clock, prompter);
  addWidget(m_pView);
  addWidget(m_pChart);
  setChildrenCollapsible(false);
  setStretchFactor(0, 1);
  setStretchFactor(1, 1);
  m_pChart->hide();
  setFocusProxy(m_pView);
}

bool MonitorPane::IsChartShown() const { return !m_pChart->isHidden(); }

void MonitorPane::ShowChart(bool shown) {
  if (shown == IsChartShown()) return;
  if (!shown) {
    const int total = sizes().value(0) + sizes().value(1);
    if (total > 0)
      m_nListShare = static_cast<std::uint16_t>(std::clamp(sizes().value(0) * kWholeListShare / total, 0, 1000));
    m_pChart->hide();
  } else {
    m_pChart->show();
    const int total = std::max(1, orientation() == Qt::Vertical ? height() : width());
    const int list = total * m_nListShare / kWholeListShare;
    setSizes({list, total - list});
  }
  emit chartShownChanged(shown);
}

WindowChart MonitorPane::ChartLayout() const {
  WindowChart chart = m_pChart->Layout();
  chart.shown = IsChartShown();
  chart.listShare = m_nListShare;
  const int total = sizes().value(0) + sizes().value(1);
  if (chart.shown && total > 0) {
    chart.listShare = static_cast<std::uint16_t>(std::clamp(sizes().value(0) * kWholeListShare / total, 0, 1000));
  }
  return chart;
}

void MonitorPane::ApplyChartLayout(const WindowChart& chart) {
  m_pChart->ApplyLayout(chart);
  m_nListShare = chart.listShare;
  if (IsChartShown()) {
    ShowChart(false);
    m_nListShare = chart.listShare;
  }
  ShowChart(chart.shown);
}

}  // namespace lcu::gui
