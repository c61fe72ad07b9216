// MonitorPane: what a monitor window holds: its list above and, when the user asks for it,
// its strip chart below, split so that the user can move the border. The chart is made with
// the window and follows the document from the start, shown or not.
#pragma once

#include <QSplitter>

#include "core/app/command_context.h"
#include "core/monitor/chart_layout.h"
#include "core/session/lcu_session.h"

namespace lcu::gui {

class CMonitorView;
class StripChart;
class GuiPrompter;

class MonitorPane : public QSplitter {
  Q_OBJECT

 public:
  /// A new empty monitor view, and its chart hidden.
  MonitorPane(CommandContext& ctx, GuiPrompter& prompter, LcuSession& session, QWidget* parent = nullptr);

  CMonitorView& View() const { return *m_pView; }
  StripChart& Chart() const { return *m_pChart; }

  bool IsChartShown() const;
  void ShowChart(bool shown);

  /// The window's chart as a chart file keeps it, and taking it back.
  WindowChart ChartLayout() const;
  void ApplyChartLayout(const WindowChart& chart);

 signals:
  void chartShownChanged(bool shown);

 private:
  CMonitorView* m_pView;
  StripChart* m_pChart;
  // The list's share of the height to give back when the chart is shown again.
  std::uint16_t m_nListShare = kDefaultListShare;
};

}  // namespace lcu::gui
