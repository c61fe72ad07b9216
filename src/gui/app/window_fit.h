// Keeping windows within reach: restored rectangles are fitted into the area they land in
// (a settings file may hold any numbers, up to sizes no screen has), and new child windows
// cascade inside their MDI area.
#pragma once

#include <QPoint>
#include <QRect>

class QMdiArea;
class QMdiSubWindow;

namespace lcu::gui {

/// The rectangle at x, y of width by height (as stored, so of any size; none below 1), made
/// no larger than the area and moved to lie inside it.
QRect FitIntoArea(qint64 x, qint64 y, qint64 width, qint64 height, const QRect& area);

/// The available (work) area of the screen a point lies on, or of the primary screen when
/// it lies on none.
QRect AvailableAreaAt(const QPoint& point);

/// Where a new child window goes: one title bar below and right of the previously made one,
/// back at the top left when it would leave the area's viewport.
QPoint CascadePosition(const QMdiArea& area, const QMdiSubWindow& fresh);

}  // namespace lcu::gui
