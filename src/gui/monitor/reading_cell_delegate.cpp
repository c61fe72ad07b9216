#include "gui/monitor/reading_cell_delegate.h"

#include <cmath>

#include <QApplication>
#include <QGlyphRun>
#include <QPainter>

#include "gui/monitor/cell_fill.h"

namespace lcu::gui {

namespace {
constexpr char16_t kFirstPrintable = 0x20;
constexpr char16_t kLastPrintable = 0x7E;

// The style's margin at each side of a cell's text.
int TextMargin(const QWidget* widget) {
  const QStyle* style = widget ? widget->style() : QApplication::style();
  return style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
}
}  // namespace

int ReadingCellDelegate::WidthFor(const QString& text, const QFontMetrics& metrics, const QWidget* widget) {
  return metrics.horizontalAdvance(text) + 2 * TextMargin(widget);
}

const ReadingCellDelegate::GlyphTable& ReadingCellDelegate::GlyphsFor(const QFont& font) const {
  if (m_table && m_table->font == font) return *m_table;
  GlyphTable table;
  table.font = font;
  table.raw = QRawFont::fromFont(font);
  QString printable;
  for (char16_t c = kFirstPrintable; c <= kLastPrintable; ++c) printable.append(QChar(c));
  const QList<quint32> glyphs = table.raw.glyphIndexesForString(printable);
  const QList<QPointF> advances = table.raw.advancesForGlyphIndexes(glyphs);
  if (glyphs.size() == printable.size() && advances.size() == glyphs.size()) {
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
      table.glyphs[kFirstPrintable + static_cast<std::size_t>(i)] = glyphs[i];
      table.advances[kFirstPrintable + static_cast<std::size_t>(i)] = advances[i].x();
    }
  }
  m_table = std::move(table);
  return *m_table;
}

bool ReadingCellDelegate::PaintFast(QPainter* painter, const QStyleOptionViewItem& option, const QString& text) const {
  if (option.state & (QStyle::State_Selected | QStyle::State_HasFocus)) return false;
  // A row without a reading yet (every row of a window just opened) shows nothing, as the
  // style would; its glyphs are not needed before the first reading.
  if (text.isEmpty()) return true;
  const GlyphTable& table = GlyphsFor(option.font);
  if (!table.raw.isValid()) return false;

  QList<quint32> glyphs;
  QList<QPointF> positions;
  glyphs.reserve(text.size());
  positions.reserve(text.size());
  qreal width = 0;
  for (const QChar c : text) {
    const char16_t code = c.unicode();
    if (code < kFirstPrintable || code > kLastPrintable || table.glyphs[code] == 0) return false;
    glyphs.append(table.glyphs[code]);
    positions.append(QPointF(width, 0));
    width += table.advances[code];
  }

  // The style's text margins, and its vertical centring of one line.
  const int margin = TextMargin(option.widget);
  const QRect textRect = option.rect.adjusted(margin, 0, -margin, 0);
  if (width > textRect.width()) return false;

  const qreal ascent = table.raw.ascent();
  const qreal lineHeight = ascent + table.raw.descent();
  const qreal top = textRect.top() + std::floor((textRect.height() - lineHeight) / 2);
  const qreal left = (option.displayAlignment & Qt::AlignLeft) ? textRect.left() : textRect.right() + 1 - width;

  QGlyphRun run;
  run.setRawFont(table.raw);
  run.setGlyphIndexes(glyphs);
  run.setPositions(positions);
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
  option->text = FitCellText(option->text, QFontMetrics(option->font), option->rect.width() - 2 * TextMargin(option->widget));
  option->textElideMode = Qt::ElideNone;
}

void ReadingCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QStyleOptionViewItem cell(option);
  cell.displayAlignment = index.data(Qt::TextAlignmentRole).value<Qt::Alignment>();
  if (PaintFast(painter, cell, index.data(Qt::DisplayRole).toString())) return;
  QStyledItemDelegate::paint(painter, option, index);
}

}  // namespace lcu::gui
