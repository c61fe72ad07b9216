// End-to-end runs of the built lcu program, each with a throw-away home and configuration
// folder so that settings and the setup folder never touch the user's own.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct ProgramRun {
  int exitCode = -1;
  QString out;
  QString err;

  QStringList OutLines() const { return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
};

class LcuProgramTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_home.isValid()); }

  QString Home() const { return m_home.path(); }
  QString ConfigHome() const { return m_home.filePath(QStringLiteral("config")); }
  QString Path(const QString& relative) const { return m_home.filePath(relative); }

  ProgramRun Lcu(const QStringList& arguments) const {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), Home());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), ConfigHome());
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(LCU_PROGRAM), arguments);
    process.closeWriteChannel();
    ProgramRun run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
      ADD_FAILURE() << "lcu did not end normally: " << arguments.join(QLatin1Char(' ')).toStdString();
      process.kill();
      process.waitForFinished();
      return run;
    }
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
  }

  QTemporaryDir m_home;
};

// "ADDR DEC HEX A BINARY" as the memory window shows a byte; the character may be a blank.
const QRegularExpression kMemoryRow(QStringLiteral("^([0-9A-F]{4}) (\\d{3}) ([0-9A-F]{2}) (.) ([01]{8})$"));

TEST_F(LcuProgramTest, StatusOfSimulatedLcuPrintsStatusBarTexts) {
  const ProgramRun run = Lcu({QStringLiteral("--simulate"), QStringLiteral("status")});
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  const QStringList lines = run.OutLines();
  ASSERT_EQ(lines.size(), 4) << run.out.toStdString();
  EXPECT_EQ(lines[0], QStringLiteral("ON LINE"));
  EXPECT_EQ(lines[1], QStringLiteral("LCU# 1"));
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^MEM: \\d+$")).match(lines[2]).hasMatch()) << lines[2].toStdString();
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^CLOCK: \\d+:\\d{1,2}$")).match(lines[3]).hasMatch())
      << lines[3].toStdString();
}

TEST_F(LcuProgramTest, PeekShowsTheBytesOfTheStateFolder) {
  const QString state = Path(QStringLiteral("new/state"));
  const ProgramRun run = Lcu({QStringLiteral("--sim-state"), state, QStringLiteral("peek"), QStringLiteral("8000"),
                       QStringLiteral("16")});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

  QFile memory(QDir(state).filePath(QStringLiteral("memory.bin")));
  ASSERT_TRUE(memory.open(QIODevice::ReadOnly));
  const QByteArray header = memory.read(16);
  ASSERT_EQ(header.size(), 16);

  const QStringList lines = run.OutLines();
  ASSERT_EQ(lines.size(), 16) << run.out.toStdString();
  for (int i = 0; i < 16; ++i) {
    const QRegularExpressionMatch row = kMemoryRow.match(lines[i]);
    ASSERT_TRUE(row.hasMatch()) << lines[i].toStdString();
    const auto byte = static_cast<unsigned char>(header[i]);
    EXPECT_EQ(row.captured(1).toInt(nullptr, 16), 0x8000 + i);
    EXPECT_EQ(row.captured(2).toInt(), byte);
    EXPECT_EQ(row.captured(3).toInt(nullptr, 16), byte) << "row " << i;
    EXPECT_EQ(row.captured(5).toInt(nullptr, 2), byte);
  }
}

TEST_F(LcuProgramTest, PeekRowsStopAtTheTopOfMemory) {
  const struct {
    QStringList arguments;
    int rows;
    int first;
  } cases[] = {
      {{QStringLiteral("0xFFF8"), QStringLiteral("16")}, 8, 0xFFF8},
      {{QStringLiteral("fff8"), QStringLiteral("64")}, 8, 0xFFF8},
      {{QStringLiteral("8000")}, 16, 0x8000},
      {{QStringLiteral("0"), QStringLiteral("64")}, 64, 0},
      {{QStringLiteral("FFFF"), QStringLiteral("1")}, 1, 0xFFFF},
  };
  for (const auto& c : cases) {
    const ProgramRun run = Lcu(QStringList{QStringLiteral("--simulate"), QStringLiteral("peek")} + c.arguments);
    SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.OutLines();
    ASSERT_EQ(lines.size(), c.rows);
    for (int i = 0; i < c.rows; ++i) {
      const QRegularExpressionMatch row = kMemoryRow.match(lines[i]);
      ASSERT_TRUE(row.hasMatch()) << lines[i].toStdString();
      EXPECT_EQ(row.captured(1).toInt(nullptr, 16), c.first + i);
    }
  }
}

TEST_F(LcuProgramTest, UsageErrorsExitWithTwo) {
  const QString sim = QStringLiteral("--simulate");
  const QStringList cases[] = {
      {},
      {QStringLiteral("bogus")},
      {sim, QStringLiteral("peek")},
      {sim, QStringLiteral("peek"), QStringLiteral("8000"), QStringLiteral("0")},
      {sim, QStringLiteral("peek"), QStringLiteral("8000"), QStringLiteral("65")},
      {sim, QStringLiteral("peek"), QStringLiteral("8000"), QStringLiteral("x")},
      {sim, QStringLiteral("peek"), QStringLiteral("10000")},
      {sim, QStringLiteral("peek"), QStringLiteral("zz")},
      {sim, QStringLiteral("peek"), QStringLiteral("8000"), QStringLiteral("16"), QStringLiteral("extra")},
      {sim, QStringLiteral("--sim-state"), Path(QStringLiteral("s")), QStringLiteral("status")},
      {QStringLiteral("settings")},
      {QStringLiteral("settings"), QStringLiteral("get"), QStringLiteral("Paths")},
      {QStringLiteral("settings"), QStringLiteral("get"), QStringLiteral("Paths"), QStringLiteral("a/b")},
      {QStringLiteral("settings"), QStringLiteral("set"), QStringLiteral("--integer"), QStringLiteral("Paths"),
       QStringLiteral("Level"), QStringLiteral("two")},
  };
  for (const QStringList& arguments : cases) {
    const ProgramRun run = Lcu(arguments);
    EXPECT_EQ(run.exitCode, 2) << arguments.join(QLatin1Char(' ')).toStdString();
    EXPECT_FALSE(run.err.trimmed().isEmpty()) << arguments.join(QLatin1Char(' ')).toStdString();
  }
}

TEST_F(LcuProgramTest, EveryCommandHasHelp) {
  const QStringList cases[] = {
      {QStringLiteral("--help")},
      {QStringLiteral("status"), QStringLiteral("--help")},
      {QStringLiteral("peek"), QStringLiteral("--help")},
      {QStringLiteral("settings"), QStringLiteral("--help")},
      {QStringLiteral("settings"), QStringLiteral("list"), QStringLiteral("--help")},
      {QStringLiteral("settings"), QStringLiteral("get"), QStringLiteral("--help")},
      {QStringLiteral("settings"), QStringLiteral("set"), QStringLiteral("--help")},
      {QStringLiteral("sim-setup"), QStringLiteral("--help")},
  };
  for (const QStringList& arguments : cases) {
    const ProgramRun run = Lcu(arguments);
    EXPECT_EQ(run.exitCode, 0) << arguments.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("Usage"), Qt::CaseInsensitive)) << run.out.toStdString();
  }
  const ProgramRun top = Lcu({QStringLiteral("--help")});
  for (const char* command : {"status", "peek", "settings", "sim-setup", "--simulate", "--sim-state", "--yes"})
    EXPECT_TRUE(top.out.contains(QLatin1String(command))) << command;
}

TEST_F(LcuProgramTest, WithoutDeviceOptionTheLcuCommandsFail) {
  for (const QStringList& arguments : {QStringList{QStringLiteral("status")},
                                       QStringList{QStringLiteral("peek"), QStringLiteral("8000")}}) {
    const ProgramRun run = Lcu(arguments);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, QStringLiteral("No USB backend is available in this build; use --simulate or --sim-state DIR.\n"));
    EXPECT_TRUE(run.out.isEmpty());
  }
}

TEST_F(LcuProgramTest, SettingsRoundTripThroughTheUserConfiguration) {
  const QString settings = QStringLiteral("settings");
  ProgramRun run = Lcu({settings, QStringLiteral("set"), QStringLiteral("Corvalent/Settings"), QStringLiteral("Auto Download"),
                 QStringLiteral("1"), QStringLiteral("--integer")});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  run = Lcu({settings, QStringLiteral("set"), QStringLiteral("Paths"), QStringLiteral("DataDirectory"),
             QStringLiteral("/data/with blanks")});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_TRUE(QFileInfo::exists(QDir(ConfigHome()).filePath(QStringLiteral("Velmora/Velmora.ini"))));

  run = Lcu({settings, QStringLiteral("get"), QStringLiteral("Corvalent\\Settings"), QStringLiteral("Auto Download")});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, QStringLiteral("1\n"));

  run = Lcu({settings, QStringLiteral("list")});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, QStringLiteral("Corvalent\\Settings\\Auto Download = 1\nPaths\\DataDirectory = /data/with blanks\n"));

  run = Lcu({settings, QStringLiteral("get"), QStringLiteral("Paths"), QStringLiteral("SetupDirectory")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, QStringLiteral("Setting not found: Paths\\SetupDirectory\n"));
}

TEST_F(LcuProgramTest, SimSetupWritesTheSampleSetupAndRegistersTheLcu) {
  const ProgramRun run = Lcu({QStringLiteral("sim-setup")});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  const QString setup = Path(QStringLiteral("Velmora/Setup"));
  EXPECT_EQ(run.out, setup + QLatin1Char('\n'));
  EXPECT_GT(QFileInfo(QDir(setup).filePath(QStringLiteral("channel.dsc"))).size(), 0);
  EXPECT_GT(QFileInfo(QDir(setup).filePath(QStringLiteral("@LCU1.cal"))).size(), 0);

  const ProgramRun serial = Lcu({QStringLiteral("settings"), QStringLiteral("get"), QStringLiteral("Config/LCUs/Serial1"),
                          QStringLiteral("Serial")});
  EXPECT_EQ(serial.exitCode, 0);
  EXPECT_EQ(serial.out, QStringLiteral("1\n"));
}

}  // namespace
