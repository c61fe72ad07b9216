// MonitorCommands: the Monitor menu. The active monitor window's own commands (those of its
// right-click menu, its chart's range and Copy) are also in the menu bar, where a technician
// finds them with their keys. The items are grayed while no monitor window is active; Zero
// Selected Channels and Copy also while no row is selected, Set Range while the window has
// no channels, Undo Zeroing while there is nothing to undo.
#pragma once

#include <QMetaObject>
#include <QObject>
#include <QPointer>

#include "core/app/command_context.h"

class QMdiSubWindow;

namespace lcu::gui {

class CChildFrame;
class MonitorPane;
class MonitorTemplate;
class MainMenu;

class MonitorCommands : public QObject {
  Q_OBJECT

 public:
  MonitorCommands(const CommandContext& ctx, MainMenu& menu, MonitorTemplate& kind, QObject* parent = nullptr);

  /// Sets the items' states for the active window as it is now.
  void UpdateStates();

 private:
  void OnWindowActivated();
  MonitorPane* ActivePane() const;
  CChildFrame* ActiveFrame() const;

  const CommandContext& m_ctx;
  MainMenu& m_menu;
  MonitorTemplate& m_kind;
  QPointer<MonitorPane> m_pane;
  // The active view's signals that change the states, while it is active.
  QMetaObject::Connection m_selection;
  QMetaObject::Connection m_rows;
  QMetaObject::Connection m_zeroing;
};

}  // namespace lcu::gui
