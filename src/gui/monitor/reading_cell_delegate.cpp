#include "gui/monitor/reading_cell_delegate.h"

#include <cmath>

#include <QApplication>
#include <QGlyphRun>
#include <QPainter>

#include "gui/monitor/cell_fill.h"

namespace lcu::gui {

namespace {
// The style's margin at each side of a cell's text.
int TextMargin(const QWidget* widget) {
  const QStyle* style = widget ? widget->style() : QApplication::style();
  return style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
}
}  // namespace

int ReadingCellDelegate::WidthFor(const QString& text, const QFontMetrics& metrics, const QWidget* widget) {
  return metrics.horizontalAdvance(text) + 2 * TextMargin(widget);
}

const AsciiGlyphs& ReadingCellDelegate::GlyphsFor(const QFont& font) const {
  if (!m_table || m_table->Font() != font) m_table.emplace(font);
  return *m_table;
}

bool ReadingCellDelegate::PaintFast(QPainter* painter, const QStyleOptionViewItem& option, const QString& text) const {
  if (option.state & (QStyle::State_Selected | QStyle::State_HasFocus)) return false;
  // A row without a reading yet (every row of a window just opened) shows nothing, as the
  // style would; its glyphs are not needed before the first reading.
  if (text.isEmpty()) return true;
  if (IsNotANumberCell(text)) return false;
  const AsciiGlyphs& table = GlyphsFor(option.font);
  QGlyphRun run;
  const std::optional<qreal> measured = table.Run(text, run);
  if (!measured) return false;
  const qreal width = *measured;

  // The style's text margins, and its vertical centring of one line.
  const int margin = TextMargin(option.widget);
  const QRect textRect = option.rect.adjusted(margin, 0, -margin, 0);
  if (width > textRect.width()) return false;

  const qreal ascent = table.Ascent();
  const qreal lineHeight = ascent + table.Descent();
  const qreal top = textRect.top() + std::floor((textRect.height() - lineHeight) / 2);
  const qreal left = (option.displayAlignment & Qt::AlignLeft) ? textRect.left() : textRect.right() + 1 - width;

  const QPalette::ColorGroup group = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
                                     : (option.state & QStyle::State_Active) ? QPalette::Normal
                                                                             : QPalette::Inactive;
  painter->setPen(option.palette.color(group, QPalette::Text));
  painter->drawGlyphRun(QPointF(left, top + ascent), run);
  ++m_fastCells;
  return true;
}

// The style draws what the fast path cannot, with a text too wide for the cell replaced by
// its fill, never elided or clipped.
void ReadingCellDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  // A value that is not live stays dimmed in a selected row: halfway between the selection's
  // text and its background.
  if (index.data(Qt::ForegroundRole).canConvert<QBrush>()) {
    const QColor text = option->palette.color(QPalette::HighlightedText);
    const QColor back = option->palette.color(QPalette::Highlight);
    option->palette.setColor(
        QPalette::HighlightedText,
        QColor((text.red() + back.red()) / 2, (text.green() + back.green()) / 2, (text.blue() + back.blue()) / 2));
  }
  option->text =
      FitCellText(option->text, QFontMetrics(option->font), option->rect.width() - 2 * TextMargin(option->widget));
  option->textElideMode = Qt::ElideNone;
}

void ReadingCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QStyleOptionViewItem cell(option);
  cell.displayAlignment = index.data(Qt::TextAlignmentRole).value<Qt::Alignment>();
  // A value that is not live comes with the colour it is drawn in.
  const QVariant foreground = index.data(Qt::ForegroundRole);
  if (foreground.canConvert<QBrush>()) cell.palette.setBrush(QPalette::Text, foreground.value<QBrush>());
  if (PaintFast(painter, cell, index.data(Qt::DisplayRole).toString())) return;
  QStyledItemDelegate::paint(painter, option, index);
}

}  // namespace lcu::gui
