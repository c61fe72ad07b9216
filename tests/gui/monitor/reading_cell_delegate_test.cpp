// The Value and Raw cells' delegate: cells drawn as the style draws them, and a reading too
// wide for its cell drawn as a fill of '#', never cut into a different number.
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QStandardItemModel>
#include <QTableView>

#include "core/monitor/monitor_row.h"
#include "gui/monitor/reading_cell_delegate.h"

namespace lcu::test {
namespace {

using gui::ReadingCellDelegate;

// The Value and Raw cells are drawn from the font's cached ASCII glyphs; they must look exactly
// as the style draws them, selected, focused or not, empty, and with characters outside
// printable ASCII, which the style draws (too narrow: below).
TEST(ReadingCellDelegate, DrawsCellsExactlyAsTheStyleDoes) {
  const QStringList texts = {QStringLiteral("1234.56"),
                             QStringLiteral("-0.5"),
                             QStringLiteral("W ~ |"),
                             QStringLiteral("0"),
                             QStringLiteral("-12345678.123"),
                             QStringLiteral("n\u00e9"),
                             QStringLiteral("1\t2"),
                             QStringLiteral("\u2212"
                                            "5"),
                             QString()};
  QStandardItemModel model(static_cast<int>(texts.size()), 2);
  for (int row = 0; row < texts.size(); ++row)
    for (int column = 0; column < 2; ++column) {
      auto* item = new QStandardItem(texts[row]);
      item->setData(QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter)), Qt::TextAlignmentRole);
      model.setItem(row, column, item);
    }
  const auto render = [&](QAbstractItemDelegate* delegate) {
    QTableView view;
    view.setModel(&model);
    if (delegate) view.setItemDelegate(delegate);
    view.setShowGrid(false);
    for (const int column : {0, 1}) view.setColumnWidth(column, 120);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.selectRow(1);
    view.resize(200, 200);
    view.show();
    QCoreApplication::processEvents();
    return view.viewport()->grab().toImage();
  };
  ReadingCellDelegate fast;
  EXPECT_TRUE(render(&fast) == render(nullptr));
  EXPECT_GT(fast.FastCellCount(), 0u) << "the plain cells take the fast path";
}

QImage DrawCell(const ReadingCellDelegate& delegate, const QModelIndex& index, const QFont& font, int width,
                QStyle::State state) {
  QStyleOptionViewItem option;
  option.font = font;
  option.fontMetrics = QFontMetrics(font);
  option.rect = QRect(0, 0, width, QFontMetrics(font).height() + 4);
  option.state = QStyle::State_Enabled | QStyle::State_Active | state;
  QImage image(option.rect.size(), QImage::Format_ARGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  delegate.paint(&painter, option, index);
  return image;
}

TEST(ReadingFillTest, ATooWideReadingIsDrawnAsAFillAlone) {
  QFont font;
  font.setPixelSize(30);
  const QStringList readings{"105.9", "7800", "-12.25"};
  QStandardItemModel model(1, 4);
  ReadingCellDelegate delegate;
  for (int column = 0; column < 4; ++column)
    model.setData(model.index(0, column), int(Qt::AlignRight | Qt::AlignVCenter), Qt::TextAlignmentRole);
  for (const QStyle::State state : {QStyle::State_None, QStyle::State_Selected})
    for (int i = 0; i < 3; ++i) {
      SCOPED_TRACE(readings[i].toStdString());
      const QModelIndex reading = model.index(0, 1 + i);
      model.setData(reading, readings[i]);
      const int width = ReadingCellDelegate::WidthFor(readings[i], QFontMetrics(font), nullptr) - 1;
      const QImage drawn = DrawCell(delegate, reading, font, width, state);
      // The cell looks exactly like some run of '#' drawn in it, so no digit shows.
      bool isFill = false;
      for (int n = 0; n <= 6 && !isFill; ++n) {
        model.setData(model.index(0, 0), QString(n, '#'));
        isFill = DrawCell(delegate, model.index(0, 0), font, width, state) == drawn;
      }
      EXPECT_TRUE(isFill);
      EXPECT_NE(drawn, DrawCell(delegate, model.index(0, 0), font, width + 1, state)) << "one pixel more shows it";
    }
}

// A value that is not a number is shown as the fill of its whole cell, whatever the width, so
// that it is never read as a value.
TEST(ReadingFillTest, AValueThatIsNotANumberFillsItsCell) {
  QFont font;
  font.setPixelSize(30);
  QStandardItemModel model(1, 2);
  ReadingCellDelegate delegate;
  for (int column = 0; column < 2; ++column)
    model.setData(model.index(0, column), int(Qt::AlignRight | Qt::AlignVCenter), Qt::TextAlignmentRole);
  model.setData(model.index(0, 1),
                QString::fromLatin1(kNotANumberCell.data(), static_cast<qsizetype>(kNotANumberCell.size())));
  const int width = 8 * QFontMetrics(font).horizontalAdvance(QLatin1Char('#'));
  const QImage drawn = DrawCell(delegate, model.index(0, 1), font, width, QStyle::State_None);
  // The drawing matches a run of '#' of some length; one '#' is the cell's own text.
  int fill = 0;
  for (int n = 2; n <= 8 && fill == 0; ++n) {
    model.setData(model.index(0, 0), QString(n, '#'));
    if (DrawCell(delegate, model.index(0, 0), font, width, QStyle::State_None) == drawn) fill = n;
  }
  EXPECT_GE(fill, 6) << "the cell is filled, not one '#' at its edge";
}

}  // namespace
}  // namespace lcu::test
