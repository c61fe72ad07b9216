// WindowListMenu: the open child windows at the end of the Window menu, numbered in the
// order they were opened, the active one checked; choosing one activates it. The list is
// made again each time the menu opens, so it never shows a window that has gone. Monitor
// windows that share a name are told apart by their first channels.
#pragma once

#include <vector>

#include <QObject>
#include <QString>
#include <QStringList>

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

  /// How many of a window's first channels tell it apart.
  static constexpr int kTellingChannels = 3;
  /// A window's entry when another has its name: the name and the first channels, with an
  /// ellipsis when the window has more ("Engine \u2014 RPM, Oil P, \u2026").
  static QString TitleWithChannels(const QString& name, const QStringList& firstChannels, bool more);

 private:
  QMenu& m_menu;
  QMdiArea& m_area;
  std::vector<QAction*> m_listed;  // the separator and the items, owned by the menu
};

}  // namespace lcu::gui
