#include "gui/app/cached_icon_style.h"

#include <QApplication>
#include <QStyleFactory>

namespace lcu::gui {

CachedIconStyle::CachedIconStyle(QStyle* base) : QProxyStyle(base) {}

void CachedIconStyle::Install() {
  QStyle* current = QApplication::style();
  if (qobject_cast<CachedIconStyle*>(current)) return;
  QStyle* base = QStyleFactory::create(current->name());
  // A style the factory cannot make again (a plugin gone since start-up) stays as it is.
  if (!base) return;
  QApplication::setStyle(new CachedIconStyle(base));
}

QIcon CachedIconStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                                    const QWidget* widget) const {
  if (option) return QProxyStyle::standardIcon(standardIcon, option, widget);
  const int key = static_cast<int>(standardIcon) * 2 + (QGuiApplication::isRightToLeft() ? 1 : 0);
  const auto found = m_icons.constFind(key);
  if (found != m_icons.constEnd()) return *found;
  const QIcon icon = QProxyStyle::standardIcon(standardIcon, nullptr, widget);
  m_icons.insert(key, icon);
  return icon;
}

}  // namespace lcu::gui
