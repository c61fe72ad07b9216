#include "gui/app/window_list_menu.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>

#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"

namespace lcu::gui {

namespace {
// Windows 1 to 9 get their digit as the mnemonic; the digits run out after them.
constexpr int kMnemonicWindows = 9;
}  // namespace

WindowListMenu::WindowListMenu(QMenu& menu, QMdiArea& area) : QObject(&menu), m_menu(menu), m_area(area) {
  connect(&m_menu, &QMenu::aboutToShow, this, &WindowListMenu::Rebuild);
}

void WindowListMenu::Rebuild() {
  for (QAction* action : m_listed) delete action;
  m_listed.clear();
  const QList<QMdiSubWindow*> children = m_area.subWindowList(QMdiArea::CreationOrder);
  if (children.isEmpty()) return;
  m_listed.push_back(m_menu.addSeparator());
  const QMdiSubWindow* current = m_area.currentSubWindow();
  int number = 0;
  for (QMdiSubWindow* child : children) {
    ++number;
    const QString label = ToQString(number <= kMnemonicWindows ? text::kWindowListMnemonicItem : text::kWindowListItem);
    // An ampersand in a window's name is shown, not taken as a mnemonic.
    QString title = child->windowTitle();
    title.replace(QLatin1Char('&'), QStringLiteral("&&"));
    QAction* action = m_menu.addAction(label.arg(number).arg(title));
    action->setCheckable(true);
    action->setChecked(child == current);
    connect(action, &QAction::triggered, this, [this, window = QPointer<QMdiSubWindow>(child)] {
      if (window) m_area.setActiveSubWindow(window);
    });
    m_listed.push_back(action);
  }
}

}  // namespace lcu::gui
