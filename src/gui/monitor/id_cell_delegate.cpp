#include "gui/monitor/id_cell_delegate.h"

#include <QApplication>
#include <QPainter>

#include "gui/monitor/cell_fill.h"

namespace lcu::gui {

namespace {
constexpr int kMargin = 2;
}  // namespace

int IdCellDelegate::WidthFor(const QString& text, const QFontMetrics& metrics, const QSize& iconSize) {
  return iconSize.width() + 3 * kMargin + 1 + metrics.horizontalAdvance(text);
}

void IdCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QStyleOptionViewItem item(option);
  initStyleOption(&item, index);
  const QIcon icon = item.icon;
  const QString text = item.text;
  // The style draws the background and the selection; the picture and the number follow.
  item.text.clear();
  item.icon = QIcon();
  item.features &= ~QStyleOptionViewItem::HasDecoration;
  const QWidget* widget = option.widget;
  QStyle* style = widget ? widget->style() : QApplication::style();
  style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

  const QRect cell = option.rect;
  const QSize iconSize = option.decorationSize;
  const QRect iconRect(cell.left() + kMargin, cell.top() + (cell.height() - iconSize.height()) / 2, iconSize.width(),
                       iconSize.height());
  const bool selected = (option.state & QStyle::State_Selected) != 0;
  icon.paint(painter, iconRect, Qt::AlignCenter, selected ? QIcon::Selected : QIcon::Normal);

  const QRect textRect = cell.adjusted(iconRect.width() + 2 * kMargin, 0, -kMargin - 1, 0);
  const QPalette::ColorGroup group = (option.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
  painter->save();
  painter->setFont(option.font);
  painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
  painter->drawText(textRect, Qt::AlignRight | Qt::AlignVCenter,
                    FitCellText(text, QFontMetrics(option.font), textRect.width()));
  painter->restore();
}

}  // namespace lcu::gui
