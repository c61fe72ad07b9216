// StripChartCommand: View, Strip Chart (and its toolbar button): shows or hides the strip
// chart of the active monitor window. Its check mark follows the active window's chart.
#pragma once

#include <QMetaObject>
#include <QObject>

class QMdiSubWindow;

namespace lcu::gui {

class MonitorTemplate;
class MainMenu;

class StripChartCommand : public QObject {
  Q_OBJECT

 public:
  StripChartCommand(MainMenu& menu, MonitorTemplate& kind, QObject* parent = nullptr);

  void OnStripChart();

 private:
  void OnWindowActivated(QMdiSubWindow* window);

  MainMenu& m_menu;
  MonitorTemplate& m_kind;
  QMetaObject::Connection m_following;
};

}  // namespace lcu::gui
