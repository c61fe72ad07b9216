// ReadingCellDelegate: draws a monitor row's Value and Raw cells. They change on every tick
// of every window, so they are drawn from glyphs kept for the list's font instead of being
// laid out as text each time: a reading is a few ASCII characters that need no shaping.
// A cell the fast path cannot show exactly as the style would (a selected or focused row, a
// text wider than the cell, a character outside ASCII or missing from the font) is drawn by
// the style, a text wider than the cell as a fill of '#' (see cell_fill.h). Both ways draw a
// cell in the colour its model gives (greyed for a value that is not live, dimmed also in a
// selected row).
#pragma once

#include <cstddef>
#include <optional>

#include <QFont>
#include <QStyledItemDelegate>

#include "gui/monitor/ascii_glyphs.h"

namespace lcu::gui {

class ReadingCellDelegate final : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  /// The column width that shows the whole text in the font, margins included.
  static int WidthFor(const QString& text, const QFontMetrics& metrics, const QWidget* widget);

  /// How many cells were drawn from glyphs rather than by the style, so that a caller can
  /// tell the fast path is taken at all.
  std::size_t FastCellCount() const { return m_fastCells; }

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

 private:
  const AsciiGlyphs& GlyphsFor(const QFont& font) const;
  bool PaintFast(QPainter* painter, const QStyleOptionViewItem& option, const QString& text) const;

  mutable std::optional<AsciiGlyphs> m_table;
  mutable std::size_t m_fastCells = 0;
};

}  // namespace lcu::gui
