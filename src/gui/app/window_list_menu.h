// WindowListMenu: the open child windows at the end of the Window menu, numbered in the
// order they were opened, the active one checked; choosing one activates it. The list is
// made again each time the menu opens, so it never shows a window that has gone.
#pragma once

#include <vector>

#include <QObject>

class QAction;
class QMdiArea;
class QMenu;

namespace lcu::gui {

class WindowListMenu : public QObject {
  Q_OBJECT

 public:
  WindowListMenu(QMenu& menu, QMdiArea& area);

  /// Replaces the listed windows with those open now.
  void Rebuild();

 private:
  QMenu& m_menu;
  QMdiArea& m_area;
  std::vector<QAction*> m_listed;  // the separator and the items, owned by the menu
};

}  // namespace lcu::gui
