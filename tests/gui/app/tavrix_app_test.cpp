// Start-up and shutdown: the placement and show state kept in the settings, the About box,
// the application's style, the command line, and the single copy per user.
#include <fstream>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include "gui/app/cached_icon_style.h"
#include "gui/app/product_version.h"
#include "gui/app/single_instance_lock.h"
#include "gui_fixture.h"

namespace lcu::test {
namespace {

using StartupTest = GuiFixture;

TEST_F(StartupTest, AnEmptyStoreOpensAtTheOriginSixHundredSquareUntilExit) {
  Start();
  // The window system keeps the frame on the screen: the frame, not the inside, is at 0,0.
  EXPECT_EQ(Frame().frameGeometry().topLeft(), QPoint(0, 0));
  EXPECT_EQ(Frame().frameGeometry().size(), QSize(600, 600));
  EXPECT_FALSE(Frame().isMaximized());
  EXPECT_TRUE(prompter->messages.empty());
  // The About box carries the build's version (the caption's is the monitor settings' test).
  EXPECT_NE(gui::GetProductVersion(), QStringLiteral("0.0.0"));
  Choose(gui::cmd::kAppAbout);
  EXPECT_EQ(prompter->aboutVersions, std::vector<QString>{gui::GetProductVersion()});
  Choose(gui::cmd::kAppExit);
  EXPECT_FALSE(Frame().isVisible());
  EXPECT_FALSE(app->Ui().PumpWaitingMessages()) << "a running download would stop";
}

// The placement comes back, with the normal rectangle kept while maximized; the last show state
// comes back, but never minimized.
TEST_F(StartupTest, ThePlacementAndTheShowStateComeBack) {
  const std::pair<std::string_view, int> edges[] = {
      {reg::kTop, 10}, {reg::kLeft, 20}, {reg::kBottom, 310}, {reg::kRight, 420}};
  for (const auto& [name, value] : edges) SetValue(reg::kSettings, name, value);
  Start();
  EXPECT_EQ(Frame().frameGeometry(), QRect(20, 10, 400, 300));
  Frame().showMaximized();
  Stop();
  EXPECT_EQ(Value(reg::kSettings, reg::kShowCmd), "3");
  for (const auto& [name, value] : edges) EXPECT_EQ(Value(reg::kSettings, name), std::to_string(value)) << name;

  for (const int showCmd : {3, 1, 2}) {
    SCOPED_TRACE(showCmd);
    SetValue(reg::kSettings, reg::kShowCmd, showCmd);
    Start();
    EXPECT_EQ(Frame().isMaximized(), showCmd == 3);
    EXPECT_FALSE(Frame().isMinimized());
    // Every start keeps one wrapper around the style that makes the icons once.
    const auto* style = qobject_cast<gui::CachedIconStyle*>(QApplication::style());
    ASSERT_NE(style, nullptr);
    EXPECT_EQ(qobject_cast<gui::CachedIconStyle*>(style->baseStyle()), nullptr);
    Stop();
  }
}

// The lock file of systems other than Windows (on Windows the system frees the lock with the
// process: tested on the windows platform, and by the smoke run of the program).
#ifndef Q_OS_WIN
TEST(SingleInstanceLock, ALockLeftByACrashedCopyDoesNotLockTheUserOut) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("corvalent.lock"));
  // What a killed copy leaves: its process id, which no process has any more.
  std::ofstream(path.toStdString()) << "2147483646\ncorvalent\n\n";
  gui::SingleInstanceLock next(path);
  EXPECT_TRUE(next.TryLock());
}

// The second start reaches the running copy through the socket beside the lock; a minimized
// window comes back and takes the keyboard from the window that had it.
TEST(SingleInstanceLock, ASecondStartBringsTheRunningCopysWindowBack) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("corvalent.lock"));
  QWidget window;
  QWidget other;
  {
    gui::SingleInstanceLock running(path);
    ASSERT_TRUE(running.TryLock());
    gui::SingleInstanceLock second(path);
    EXPECT_FALSE(second.TryLock());
    EXPECT_FALSE(second.ActivateRunningCopy()) << "no window is marked yet";

    window.show();
    running.MarkMainWindow(window);
    window.showMinimized();
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    ASSERT_TRUE(window.isMinimized());
    EXPECT_TRUE(second.ActivateRunningCopy());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isMinimized() && window.isActiveWindow(); }));
  }
  // The running copy has ended, its socket with it: the next start runs and finds nobody.
  EXPECT_FALSE(QFile::exists(path + QStringLiteral(".socket")));
  gui::SingleInstanceLock next(path);
  EXPECT_TRUE(next.TryLock());
  EXPECT_FALSE(next.ActivateRunningCopy());
}
#endif

// The built program answers --help and --version on a terminal without a display. The window
// system's own options are no version option: -reverse is not -r -e -v.
TEST(CorvalentProgram, HelpAndVersionNeedNoDisplay) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    environment.remove(QString::fromLatin1(name));
  const std::pair<QStringList, QString> cases[] = {
      // arguments, what the output holds
      {{QStringLiteral("--version")}, QStringLiteral("corvalent ") + gui::GetProductVersion() + QLatin1Char('\n')},
      {{QStringLiteral("--help")}, QStringLiteral("--sim-state <DIR>")},
      {{QStringLiteral("-reverse"), QStringLiteral("--help")}, QStringLiteral("--simulate")},
  };
  for (const auto& [arguments, holds] : cases) {
    SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(CORVALENT_PROGRAM), arguments);
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    // Windows ends the lines with a carriage return as well.
    const QString out = QString::fromUtf8(program.readAllStandardOutput()).remove(QLatin1Char('\r'));
    EXPECT_TRUE(out.contains(holds)) << out.toStdString();
  }
}

#ifndef Q_OS_WIN
TEST(CorvalentProgram, ASecondCopyEndsAtOnce) {
  QTemporaryDir home;
  QDir(home.path()).mkpath(QStringLiteral("run"));
  QFile::setPermissions(home.filePath(QStringLiteral("run")),
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("HOME"), home.path());
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
  environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("run")));
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  const QString lock = home.filePath(QStringLiteral("run/corvalent.lock"));

  QProcess first;
  first.setProcessEnvironment(environment);
  first.start(QStringLiteral(CORVALENT_PROGRAM), {QStringLiteral("--simulate")});
  ASSERT_TRUE(first.waitForStarted());
  for (int i = 0; i < 100 && !QFile::exists(lock); ++i) QTest::qWait(50);
  ASSERT_TRUE(QFile::exists(lock));

  QProcess second;
  second.setProcessEnvironment(environment);
  second.start(QStringLiteral(CORVALENT_PROGRAM), {QStringLiteral("--simulate"), QStringLiteral("some.nsb")});
  ASSERT_TRUE(second.waitForFinished(5000));
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_TRUE(second.readAllStandardError().isEmpty());
  EXPECT_EQ(first.state(), QProcess::Running);

  first.kill();
  first.waitForFinished();
}
#endif

}  // namespace
}  // namespace lcu::test
