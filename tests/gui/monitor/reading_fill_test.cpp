// A reading too wide for its cell is drawn as a fill of '#', never cut into a different
// number; Set Font takes the chosen font (Cancel keeps the old) and widens the ID, Value and
// Raw columns so that the readings show whole.
#include <QImage>
#include <QPainter>
#include <QStandardItemModel>

#include "gui/monitor/id_cell_delegate.h"
#include "gui/monitor/reading_cell_delegate.h"
#include "gui_fixture.h"

namespace lcu::test {
namespace {

using gui::CMonitorView;
using gui::ReadingCellDelegate;

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
  for (const QStyle::State state : {QStyle::State_None, QStyle::State_Selected}) {
    for (int i = 0; i < 3; ++i) {
      SCOPED_TRACE(readings[i].toStdString());
      const QModelIndex reading = model.index(0, 1 + i);
      model.setData(reading, readings[i]);
      model.setData(reading, int(Qt::AlignRight | Qt::AlignVCenter), Qt::TextAlignmentRole);
      const int width = ReadingCellDelegate::WidthFor(readings[i], QFontMetrics(font), nullptr) - 1;
      const QImage drawn = DrawCell(delegate, reading, font, width, state);
      // The cell looks exactly like some run of '#' drawn in it, so no digit shows.
      bool isFill = false;
      for (int n = 0; n <= 6 && !isFill; ++n) {
        model.setData(model.index(0, 0), QString(n, '#'));
        model.setData(model.index(0, 0), int(Qt::AlignRight | Qt::AlignVCenter), Qt::TextAlignmentRole);
        isFill = DrawCell(delegate, model.index(0, 0), font, width, state) == drawn;
      }
      EXPECT_TRUE(isFill);
      EXPECT_NE(drawn, DrawCell(delegate, model.index(0, 0), font, width + 1, state)) << "one pixel more shows it";
    }
  }
}

using SetFontWidthsTest = GuiFixture;

TEST_F(SetFontWidthsTest, SetFontWidensIdValueAndRawToTheirTexts) {
  WriteSampleSetup();
  StartOnLine();
  CMonitorView& view = WindowWith(Range(3, 6));
  Update(view);
  const LogFont before = view.GetListFont();
  view.OnSetFont();
  EXPECT_EQ(view.GetListFont(), before);
  ASSERT_EQ(prompter->fontsShown.size(), 1u);
  EXPECT_FALSE(prompter->fontsShown[0].styleName().isEmpty()) << "the dialog can find the style";

  QFont big = view.font();
  big.setPixelSize(40);
  big.setBold(true);
  prompter->fontAnswer = big;
  view.OnSetFont();
  EXPECT_EQ(view.GetListFont().height, -40);
  EXPECT_EQ(view.GetListFont().weight, kFontWeightBold);
  EXPECT_GE(view.rowHeight(0), 40) << "rows grow with the font";
  const QFontMetrics metrics(view.font());
  EXPECT_GE(view.columnWidth(gui::kRawColumn), ReadingCellDelegate::WidthFor("65535", metrics, &view));
  for (int row = 0; row < view.Model().rowCount(); ++row) {
    const auto text = [&](int column) { return view.Model().index(row, column).data().toString(); };
    EXPECT_GE(view.columnWidth(gui::kIdColumn), gui::IdCellDelegate::WidthFor(text(gui::kIdColumn), metrics, view.iconSize()));
    for (const int column : {gui::kValueColumn, gui::kRawColumn}) {
      ASSERT_FALSE(text(column).isEmpty());
      EXPECT_GE(view.columnWidth(column), ReadingCellDelegate::WidthFor(text(column), metrics, &view)) << row;
    }
  }
  EXPECT_EQ(view.Document().ColumnWidths(), view.GetColumnWidths()) << "a save keeps the new widths";
}

}  // namespace
}  // namespace lcu::test
