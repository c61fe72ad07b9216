#include "gui/monitor/cell_fill.h"

namespace lcu::gui {

QString FitCellText(const QString& text, const QFontMetrics& metrics, int width) {
  if (metrics.horizontalAdvance(text) <= width) return text;
  const int fill = metrics.horizontalAdvance(QLatin1Char('#'));
  return QString(fill > 0 && width > 0 ? width / fill : 0, QLatin1Char('#'));
}

}  // namespace lcu::gui
