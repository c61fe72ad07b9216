// MainMenu: the main window's menu bar, built from one table of items, and the program's
// hold on every item's state. Items are reached by their command id. Grayed and checked
// states are exactly those the program sets: nothing recomputes them when a menu opens, and
// choosing a check item does not move its check mark by itself (the command does, or not).
#pragma once

#include <map>

#include <QObject>

class QAction;
class QMainWindow;

namespace lcu::gui {

class MainMenu : public QObject {
  Q_OBJECT

 public:
  /// Builds the menus into the window's menu bar, with the shortcuts of the labels and the
  /// two keys that move between child windows. The service items start grayed.
  explicit MainMenu(QMainWindow& window);

  /// The item of a command id; null for an id the menu does not have.
  QAction* Action(int commandId) const;

  void SetEnabled(int commandId, bool enabled);
  bool IsEnabled(int commandId) const;
  void SetChecked(int commandId, bool checked);
  bool IsChecked(int commandId) const;

 private:
  QAction* AddItem(QObject& owner, int commandId, bool checkable);

  std::map<int, QAction*> m_actions;
  std::map<int, bool> m_checks;  // the check marks as the program set them
};

}  // namespace lcu::gui
