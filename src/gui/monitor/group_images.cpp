#include "gui/monitor/group_images.h"

#include <array>

#include <QString>

namespace lcu::gui {

const QIcon& GroupImage(int index) {
  // Made on first use, once a QApplication exists.
  static const std::array<QIcon, kGroupImageCount> images = {
      QIcon(QStringLiteral(":/icons/group_resistor.png")), QIcon(QStringLiteral(":/icons/group_pulse.png")),
      QIcon(QStringLiteral(":/icons/group_cylinder.png")), QIcon(QStringLiteral(":/icons/group_windows.png")),
      QIcon(QStringLiteral(":/icons/group_fx.png")),       QIcon(QStringLiteral(":/icons/group_dish.png")),
      QIcon(QStringLiteral(":/icons/group_gate.png")),
  };
  if (index < 0 || index >= kGroupImageCount) index = 0;
  return images[static_cast<std::size_t>(index)];
}

}  // namespace lcu::gui
