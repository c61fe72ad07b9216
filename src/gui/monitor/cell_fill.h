// A number that does not fit its cell is never shown cut: "10…" for 105.9 or "78" for 7800
// reads as a different value. Such a cell shows a fill of '#' instead, which no one takes for
// a number; widening the column brings the value back. A value that is not a number fills its
// cell the same way, at any width.
#pragma once

#include <QFontMetrics>
#include <QString>

namespace lcu::gui {

/// True for the Value cell of a value that is not a number, which shows the fill whatever
/// the width.
bool IsNotANumberCell(const QString& text);

/// The text itself when it fits the width, else as many '#' as fit.
QString FitCellText(const QString& text, const QFontMetrics& metrics, int width);

}  // namespace lcu::gui
