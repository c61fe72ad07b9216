// What only the windows platform shows, run there with a display: the font records of
// monitor settings files give the fonts the system knows by those names, and a second start
// brings the running copy's window back.
#include <gtest/gtest.h>
#include <QFontDialog>
#include <QFontInfo>
#include <QGuiApplication>
#include <QTest>
#include <QWidget>

#include "gui/app/single_instance_lock.h"
#include "gui/monitor/list_font.h"

namespace lcu::test {
namespace {

TEST(WindowsPlatform, AFontRecordGivesTheSystemFontItNames) {
  ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("windows"));
  struct Case {
    const char* face;
    std::int32_t height;
    std::int32_t weight;
  };
  // Faces every Windows has (and the emulator's own fonts): a TrueType face in two sizes
  // and weights, and the old dialog face.
  const Case cases[] = {
      {"Tahoma", -11, kFontWeightNormal},
      {"Tahoma", -20, kFontWeightBold},
      {"MS Sans Serif", -13, kFontWeightNormal},
  };
  const QFont base = QGuiApplication::font();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.face) + " " + std::to_string(c.height));
    LogFont record;
    record.SetFaceName(c.face);
    record.height = c.height;
    record.weight = c.weight;
    const QFont font = gui::FontFromLogFont(record, base);
    const QFontInfo shown(font);
    EXPECT_EQ(shown.family().toStdString(), c.face);
    EXPECT_EQ(shown.pixelSize(), -c.height);
    EXPECT_EQ(shown.bold(), c.weight == kFontWeightBold);
    // The font dialog of Set Font opens on it.
    QFontDialog dialog(font);
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    EXPECT_EQ(dialog.currentFont().family().toStdString(), c.face);
    EXPECT_EQ(dialog.currentFont().bold(), c.weight == kFontWeightBold);

    // Saved again, the record names the same font.
    const LogFont saved = gui::LogFontFromFont(font);
    EXPECT_EQ(saved.FaceNameText(), c.face);
    EXPECT_EQ(saved.height, c.height);
    EXPECT_EQ(saved.weight, c.weight);
  }
}

TEST(WindowsPlatform, ASecondStartBringsTheRunningCopysWindowBack) {
  const QString name = QStringLiteral("Local\\lcu-test-%1").arg(QCoreApplication::applicationPid());
  QWidget window;
  window.setWindowTitle(QStringLiteral("running copy"));
  {
    gui::SingleInstanceLock running(name);
    ASSERT_TRUE(running.TryLock());
    EXPECT_TRUE(running.TryLock()) << "the holder asking again";

    gui::SingleInstanceLock second(name);
    EXPECT_FALSE(second.TryLock());
    EXPECT_FALSE(second.ActivateRunningCopy()) << "no window is marked yet";

    window.show();
    running.MarkMainWindow(window);
    window.showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.isMinimized(); }));
    EXPECT_TRUE(second.ActivateRunningCopy());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isMinimized() && window.isVisible(); }));
  }
  // The running copy has ended (its lock with it): the next start runs.
  gui::SingleInstanceLock next(name);
  EXPECT_TRUE(next.TryLock());
}

}  // namespace
}  // namespace lcu::test
