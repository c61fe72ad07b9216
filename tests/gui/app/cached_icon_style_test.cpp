// The application's style with its standard icons made once: the same pictures as the style
// it wraps, in either layout direction.
#include <QApplication>
#include <QImage>
#include <QStyleFactory>

#include <gtest/gtest.h>
#include "gui/app/cached_icon_style.h"

namespace lcu::test {
namespace {

QImage Picture(const QIcon& icon) { return icon.pixmap(16, 16).toImage(); }

TEST(CachedIconStyle, DrawsWhatTheWrappedStyleDrawsInEitherDirection) {
  const std::unique_ptr<QStyle> plain(QStyleFactory::create(QStringLiteral("Fusion")));
  gui::CachedIconStyle cached(QStyleFactory::create(QStringLiteral("Fusion")));
  // Every child window's title-bar icons, and arrows that point the other way from right to left.
  const QStyle::StandardPixmap icons[] = {
      QStyle::SP_TitleBarMinButton,   QStyle::SP_TitleBarMaxButton, QStyle::SP_TitleBarNormalButton,
      QStyle::SP_TitleBarCloseButton, QStyle::SP_ArrowBack,         QStyle::SP_ArrowForward};
  for (const Qt::LayoutDirection direction : {Qt::LeftToRight, Qt::RightToLeft, Qt::LeftToRight}) {
    QGuiApplication::setLayoutDirection(direction);
    for (const QStyle::StandardPixmap icon : icons) {
      SCOPED_TRACE(testing::Message() << "icon " << icon << ", direction " << direction);
      const QImage expected = Picture(plain->standardIcon(icon));
      ASSERT_FALSE(expected.isNull());
      for (int call = 1; call <= 2; ++call) EXPECT_EQ(Picture(cached.standardIcon(icon)), expected) << "call " << call;
    }
  }
  QGuiApplication::setLayoutDirection(Qt::LeftToRight);
  EXPECT_NE(Picture(cached.standardIcon(QStyle::SP_ArrowBack)), Picture(cached.standardIcon(QStyle::SP_ArrowForward)));
}

}  // namespace
}  // namespace lcu::test
