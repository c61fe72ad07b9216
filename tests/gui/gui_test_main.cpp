// The GUI tests need a QApplication; without a display they draw off screen.
#include <gtest/gtest.h>
#include <QApplication>
#include <QFont>

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The emulator that runs the Windows build here hands a program no variable named QT_...:
  // the test run names the folder of the off-screen platform's fonts in LCU_TEST_FONT_DIR.
  // Off screen on Linux the system's default font is DejaVu Sans at 9 points: the same here.
  const bool fontFolder = qEnvironmentVariableIsSet("LCU_TEST_FONT_DIR");
  if (fontFolder) qputenv("QT_QPA_FONTDIR", qgetenv("LCU_TEST_FONT_DIR"));
  QApplication application(argc, argv);
  if (fontFolder) QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
  // Tests close main windows; that must not end the test program's application.
  QApplication::setQuitOnLastWindowClosed(false);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
