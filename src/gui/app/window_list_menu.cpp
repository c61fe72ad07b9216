#include "gui/app/window_list_menu.h"

#include <algorithm>

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>

#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"
#include "gui/monitor/child_frame.h"
#include "gui/monitor/monitor_template.h"
#include "gui/monitor/monitor_view.h"

namespace lcu::gui {

namespace {
// Windows 1 to 9 get their digit as the mnemonic; the digits run out after them.
constexpr int kMnemonicWindows = 9;

// The title a window is listed with: its caption, and for a monitor window whose caption
// another window shares, its first channels.
QString ListedTitle(QMdiSubWindow& child, const QList<QMdiSubWindow*>& children) {
  const QString title = child.windowTitle();
  const auto sameName = std::count_if(children.begin(), children.end(),
                                      [&title](const QMdiSubWindow* other) { return other->windowTitle() == title; });
  auto* frame = qobject_cast<CChildFrame*>(&child);
  CMonitorView* view = frame ? MonitorTemplate::MonitorViewOf(*frame) : nullptr;
  if (sameName < 2 || view == nullptr) return title;
  const MonitorTableModel& model = view->Model();
  return WindowListMenu::TitleWithChannels(title, model.FirstNames(WindowListMenu::kTellingChannels),
                                           model.rowCount() > WindowListMenu::kTellingChannels);
}
}  // namespace

QString WindowListMenu::TitleWithChannels(const QString& name, const QStringList& firstChannels, bool more) {
  QString channels = firstChannels.join(ToQString(text::kChannelListSeparator));
  if (firstChannels.isEmpty()) channels = ToQString(text::kNoChannels);
  if (more) channels += ToQString(text::kChannelListSeparator) + ToQString(text::kMoreChannels);
  return ToQString(text::kWindowWithChannels).arg(name, channels);
}

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
    QString title = ListedTitle(*child, children);
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
