#include "gui/monitor/cell_fill.h"

#include "core/monitor/monitor_row.h"

namespace lcu::gui {

bool IsNotANumberCell(const QString& text) {
  return text == QLatin1StringView(kNotANumberCell.data(), static_cast<qsizetype>(kNotANumberCell.size()));
}

QString FitCellText(const QString& text, const QFontMetrics& metrics, int width) {
  if (!IsNotANumberCell(text) && metrics.horizontalAdvance(text) <= width) return text;
  const int fill = metrics.horizontalAdvance(QLatin1Char('#'));
  return QString(fill > 0 && width > 0 ? width / fill : 0, QLatin1Char('#'));
}

}  // namespace lcu::gui
