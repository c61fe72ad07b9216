// Texts drawn from a font's cached ASCII glyphs: the same width and the same pixels as the
// text drawn by the painter, and no run for a text the cache cannot draw.
#include <QApplication>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "gui/monitor/ascii_glyphs.h"

namespace lcu::test {
namespace {

using gui::AsciiGlyphs;

QImage Blank() {
  QImage image(200, 40, QImage::Format_ARGB32);
  image.fill(Qt::white);
  return image;
}

TEST(AsciiGlyphs, RunsMatchTheTextDrawnByThePainter) {
  const QFont font = QApplication::font();
  const AsciiGlyphs glyphs(font);
  ASSERT_TRUE(glyphs.IsValid());
  const QFontMetricsF metrics(font);
  const QPointF baseline(3, 4 + metrics.ascent());
  for (const QString& text : {QStringLiteral("-12345.678"), QStringLiteral("0"), QStringLiteral("W ~ |"),
                              QStringLiteral("1e+30"), QString()}) {
    SCOPED_TRACE(text.toStdString());
    QGlyphRun run;
    const std::optional<qreal> width = glyphs.Run(text, run);
    ASSERT_TRUE(width.has_value());
    EXPECT_NEAR(*width, metrics.horizontalAdvance(text), 0.01);

    QImage drawn = Blank();
    QImage expected = Blank();
    {
      QPainter painter(&drawn);
      painter.setPen(Qt::black);
      painter.drawGlyphRun(baseline, run);
      QPainter reference(&expected);
      reference.setFont(font);
      reference.setPen(Qt::black);
      reference.drawText(baseline, text);
    }
    EXPECT_EQ(drawn, expected);
    EXPECT_EQ(drawn == Blank(), text.isEmpty()) << "a text leaves ink";
  }
}

TEST(AsciiGlyphs, NoRunForCharactersOutsidePrintableAscii) {
  const AsciiGlyphs glyphs(QApplication::font());
  for (const QString& text : {QStringLiteral("n\u00e9"), QStringLiteral("1\t2"), QStringLiteral("\u2212" "5"),
                              QStringLiteral("\x7f")}) {
    QGlyphRun run;
    EXPECT_FALSE(glyphs.Run(text, run).has_value()) << text.toStdString();
  }
}

}  // namespace
}  // namespace lcu::test
