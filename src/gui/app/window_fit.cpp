#include "gui/app/window_fit.h"

#include <algorithm>

#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QStyle>

namespace lcu::gui {

QRect FitIntoArea(qint64 x, qint64 y, qint64 width, qint64 height, const QRect& area) {
  const qint64 fittedWidth = std::clamp<qint64>(width, 1, std::max(area.width(), 1));
  const qint64 fittedHeight = std::clamp<qint64>(height, 1, std::max(area.height(), 1));
  const qint64 left =
      std::clamp<qint64>(x, area.x(), std::max<qint64>(area.x(), qint64{area.x()} + area.width() - fittedWidth));
  const qint64 top =
      std::clamp<qint64>(y, area.y(), std::max<qint64>(area.y(), qint64{area.y()} + area.height() - fittedHeight));
  return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(fittedWidth), static_cast<int>(fittedHeight)};
}

QRect AvailableAreaAt(const QPoint& point) {
  const QScreen* screen = QGuiApplication::screenAt(point);
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect();
}

QPoint CascadePosition(const QMdiArea& area, const QMdiSubWindow& fresh) {
  const QList<QMdiSubWindow*> children = area.subWindowList(QMdiArea::CreationOrder);
  const QMdiSubWindow* previous = nullptr;
  for (const QMdiSubWindow* child : children) {
    if (child != &fresh && child->isVisible() && !child->isMinimized() && !child->isMaximized()) {
      previous = child;
    }
  }
  if (!previous) return {0, 0};
  const int step = fresh.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &fresh);
  const QPoint next = previous->pos() + QPoint(step, step);
  const QRect viewport = area.viewport()->rect();
  if (!viewport.contains(QRect(next, fresh.size()))) return {0, 0};
  return next;
}

}  // namespace lcu::gui
