// Running the built lcu program in the end-to-end tests: each test gets a throw-away home
// and configuration folder, so that settings and the setup folder never touch the user's own.
#pragma once

#include <gtest/gtest.h>
#include <QByteArray>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace lcu::test {

struct ProgramRun {
  int exitCode = -1;
  QString out;
  QString err;

  QStringList OutLines() const { return out.split('\n', Qt::SkipEmptyParts); }

  /// The output as the one JSON value --json prints; a parse error fails the test.
  QJsonDocument OutJson() const {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(out.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << out.toStdString();
    return document;
  }
};

class LcuProgramTest : public ::testing::Test {
 protected:
  QString Path(const QString& relative) const { return m_home.filePath(relative); }

  /// Starts the program in the throw-away home without waiting for it.
  void StartLcu(QProcess& process, const QStringList& arguments) const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", m_home.path());
    environment.insert("XDG_CONFIG_HOME", Path("config"));
    for (const QString& name : m_extraEnvironment.keys()) environment.insert(name, m_extraEnvironment.value(name));
    process.setProcessEnvironment(environment);
    process.start(LCU_PROGRAM, arguments);
    process.closeWriteChannel();
  }

  /// lcu.exe writes its console text with CRLF line ends; the expectations are written with LF.
  static QString ProgramText(const QByteArray& bytes) {
    QString text = QString::fromUtf8(bytes);
#ifdef Q_OS_WIN
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
#endif
    return text;
  }

  ProgramRun Lcu(const QStringList& arguments) const {
    QProcess process;
    StartLcu(process, arguments);
    return Finished(process, arguments);
  }

  /// The run of a started lcu once it has ended; a failure when it does not end normally.
  static ProgramRun Finished(QProcess& process, const QStringList& arguments) {
    ProgramRun run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
      ADD_FAILURE() << "lcu did not end normally: " << arguments.join(' ').toStdString();
      process.kill();
      process.waitForFinished();
      return run;
    }
    run.exitCode = process.exitCode();
    run.out = ProgramText(process.readAllStandardOutput());
    run.err = ProgramText(process.readAllStandardError());
    return run;
  }

  /// The run, with a failure that shows its stderr unless it exited with 0.
  static ProgramRun Succeeded(ProgramRun run) {
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    return run;
  }

  /// The run, with failures unless it exited with exitCode and printed exactly err on stderr.
  static ProgramRun Failed(ProgramRun run, int exitCode, const QString& err) {
    EXPECT_EQ(run.exitCode, exitCode) << run.err.toStdString();
    EXPECT_EQ(run.err, err);
    return run;
  }

  /// The whole content of a file; empty when it cannot be read.
  static QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  static void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) << path.toStdString();
  }

  QTemporaryDir m_home;
  /// Variables added to the program's environment, e.g. the simulator's LCU_SIM_FAULTS.
  QProcessEnvironment m_extraEnvironment;
};

/// The sample setup (the LCU's calibration) in the home folder and a simulated LCU in a state
/// folder, as a technician's machine would have them.
class SimulatedLcuTest : public LcuProgramTest {
 protected:
  void SetUp() override {
    // What the sample setup holds is the simulator's test; lcu names the folder it wrote.
    ASSERT_EQ(Lcu({"sim-setup"}).out, Path("Velmora/Setup") + '\n');
    ASSERT_EQ(InLcu({"status"}).exitCode, 0);
  }
  ProgramRun InLcu(const QStringList& arguments) const { return Lcu(QStringList{"--sim-state", State()} + arguments); }
  QString State() const { return Path("lcu"); }
};

}  // namespace lcu::test
