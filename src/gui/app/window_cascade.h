// The Window menu's Cascade: the child windows stepped one title bar down and right of each
// other, each keeping its own size where it fits the work area from its place. The stock
// cascade gives every window one size, so a window sized to show its channels would lose
// rows; here only a window that would reach past the area is made smaller, and the steps
// start again at the top left when the next window would no longer fit.
#pragma once

#include <vector>

#include <QRect>
#include <QSize>

class QMdiArea;

namespace lcu::gui {

/// The rectangles, in order, of windows of the sizes given (front window last) cascaded
/// from the area's top left by step in each direction.
std::vector<QRect> CascadeRects(const std::vector<QSize>& sizes, const QRect& area, int step);

/// Cascades the area's windows that are neither minimized nor hidden, in their stacking
/// order, so that the window in front stays in front; a maximized one is restored first.
void CascadeWindows(QMdiArea& area);

}  // namespace lcu::gui
