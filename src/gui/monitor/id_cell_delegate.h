// IdCellDelegate: draws a monitor row's ID cell as the list shows it: the group picture at
// the left edge and the channel number right-aligned after it, with narrow margins, so
// that three digits and the picture fit the column's 50 pixels.
#pragma once

#include <QFontMetrics>
#include <QSize>
#include <QStyledItemDelegate>

namespace lcu::gui {

class IdCellDelegate final : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  /// The column width that shows the picture and the whole text in the font.
  static int WidthFor(const QString& text, const QFontMetrics& metrics, const QSize& iconSize);
};

}  // namespace lcu::gui
