#include "gui/app/window_cascade.h"

#include <algorithm>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>

namespace lcu::gui {

std::vector<QRect> CascadeRects(const std::vector<QSize>& sizes, const QRect& area, int step) {
  std::vector<QRect> rects;
  rects.reserve(sizes.size());
  int offset = 0;
  for (const QSize& size : sizes) {
    const auto fits = [&](int at) { return at + size.width() <= area.width() && at + size.height() <= area.height(); };
    if (offset > 0 && !fits(offset)) offset = 0;
    const QSize kept(std::clamp(size.width(), 1, std::max(area.width() - offset, 1)),
                     std::clamp(size.height(), 1, std::max(area.height() - offset, 1)));
    rects.emplace_back(area.topLeft() + QPoint(offset, offset), kept);
    offset += step;
  }
  return rects;
}

void CascadeWindows(QMdiArea& area) {
  std::vector<QMdiSubWindow*> windows;
  for (QMdiSubWindow* child : area.subWindowList(QMdiArea::StackingOrder)) {
    if (child->isMinimized() || child->isHidden()) continue;
    if (child->isMaximized()) child->showNormal();
    windows.push_back(child);
  }
  if (windows.empty()) return;
  std::vector<QSize> sizes;
  sizes.reserve(windows.size());
  for (const QMdiSubWindow* window : windows) sizes.push_back(window->size());
  const int step = windows.front()->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, windows.front());
  const std::vector<QRect> rects = CascadeRects(sizes, area.viewport()->rect(), step);
  for (std::size_t i = 0; i < windows.size(); ++i) {
    windows[i]->setGeometry(rects[i]);
    windows[i]->raise();
  }
}

}  // namespace lcu::gui
