// CStripChartCommand: View, Strip Chart (and its toolbar button): shows or hides the strip
// chart of the active monitor window. Its check mark follows the active window's chart.
#pragma once

#include <QMetaObject>
#include <QObject>

class QMdiSubWindow;

namespace lcu::gui {

class CMonitorTemplate;
class MainMenu;

class CStripChartCommand : public QObject {
  Q_OBJECT

 public:
  CStripChartCommand(MainMenu& menu, CMonitorTemplate& kind, QObject* parent = nullptr);

  void OnStripChart();

 private:
  void OnWindowActivated(QMdiSubWindow* window);

  MainMenu& m_menu;
  CMonitorTemplate& m_kind;
  QMetaObject::Connection m_following;
};

}  // namespace lcu::gui
