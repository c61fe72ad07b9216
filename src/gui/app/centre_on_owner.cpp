#include "gui/app/centre_on_owner.h"

#include <QRect>
#include <QScreen>
#include <QWidget>

namespace lcu::gui {

void CentreOnOwner(QWidget& window) {
  QRect area;
  if (const QWidget* owner = window.parentWidget()) {
    area = owner->window()->frameGeometry();
  } else if (const QScreen* screen = window.screen()) {
    area = screen->availableGeometry();
  }
  if (area.isEmpty()) return;
  QRect frame = window.frameGeometry();
  frame.moveCenter(area.center());
  window.move(frame.topLeft());
}

}  // namespace lcu::gui
