// End-to-end runs of the channel model's commands and the firmware loader against a
// simulated LCU kept in a state folder, with the sample setup in the throw-away home.
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

#include <cstdlib>

#if !defined(_WIN32)
#include <signal.h>
#endif

#include "core/messages/messages.h"
#include "lcu_program.h"

namespace {

using lcu::test::ProgramRun;

class ChannelCommandsTest : public lcu::test::SimulatedLcuTest {
 protected:
  QString CalibrationFile() const { return Path("Velmora/Setup/@LCU1.cal"); }
};

// Without the calibration file channels still lists what it has, and convert refuses.
TEST_F(ChannelCommandsTest, ChannelsListsTheChannelsOfTheHardwareLevelWithOrWithoutCalibration) {
  const ProgramRun level2 = Succeeded(InLcu({"channels"}));
  const QStringList lines = level2.OutLines();
  EXPECT_EQ(lines.size(), 132);
  // Which channels a level has is the core's test; here a line shows number, name, units, decimals.
  EXPECT_TRUE(lines.contains("5\tFUEL PRESS\tbar\t2"));
  EXPECT_TRUE(lines.contains("120\tDASH GEAR\t\t0"));
  const QJsonArray json = InLcu({"channels", "--json"}).OutJson().array();
  ASSERT_EQ(json.size(), lines.size());
  EXPECT_EQ(json[5].toObject(),
            QJsonObject({{"number", 5}, {"name", "FUEL PRESS"}, {"units", "bar"}, {"decimals", 2}}));

  ASSERT_TRUE(QFile::remove(CalibrationFile()));
  const QString missing = "Could not load calibration data\n" + CalibrationFile() + ": No such file or directory\n" +
                          QString::fromUtf8(lcu::msg::kCopySetupHint.data(), lcu::msg::kCopySetupHint.size()) + "\n";
  EXPECT_EQ(Failed(InLcu({"channels"}), 1, missing).OutLines().size(), lines.size());
  EXPECT_TRUE(Failed(Lcu({"convert", "--lcu", "1", "5", "1000"}), 1, missing).out.isEmpty());
}

// How each channel converts is the core's test; here a reading in hex after 0x, the channel's
// decimals, and the calibration file of the LCU named by --lcu without an LCU. --explain prints
// the explanation of each reading; --json carries the same numbers, the last step's result
// being the value.
TEST_F(ChannelCommandsTest, ConvertUsesTheLcusCalibrationAndExplainsHowEachValueWasMade) {
  EXPECT_EQ(Succeeded(InLcu({"convert", "98", "0xFF9C"})).out, "-1.00\n");
  EXPECT_EQ(InLcu({"convert", "5", "300", "2047"}).out, "-0.33\n5.00\n");
  EXPECT_EQ(Lcu({"convert", "--lcu", "1", "5", "300", "2047"}).out, "-0.33\n5.00\n");

  const ProgramRun text = Succeeded(Lcu({"convert", "--lcu", "1", "0", "300", "2047", "--explain"}));
  EXPECT_EQ(text.out.count("Value "), 2);
  EXPECT_TRUE(text.out.contains("x[5] = 1850 < r = 2047 <= x[6] = 2400: segment 5")) << text.out.toStdString();

  const QJsonArray json = InLcu({"convert", "0", "2047", "--explain", "--json"}).OutJson().array();
  ASSERT_EQ(json.size(), 1);
  const QJsonObject value = json[0].toObject();
  EXPECT_EQ(value["shown"], "42.8");
  EXPECT_EQ(value["rule"], "interpolate");
  EXPECT_EQ(value["position"], "segment");
  EXPECT_EQ(value["segment"], 5);
  EXPECT_EQ(value["steps"].toArray().last().toObject()["result"].toDouble(), value["value"].toDouble());
}

// An LCU given with --lcu that has no calibration file of its own is refused unless
// --fallback is given; a fallback, there or for the connected LCU, is named on stderr, and
// --explain names the file it used.
TEST_F(ChannelCommandsTest, ConvertNamesAnotherLcusCalibrationAndTakesItOnlyWithFallback) {
  const QString file = CalibrationFile();
  Failed(Lcu({"convert", "--lcu", "7", "5", "300"}), 1,
         "LCU 7 is not registered; give --fallback to use the calibration of LCU 1 (" + file + ").\n");
  EXPECT_EQ(Failed(Lcu({"convert", "--lcu", "7", "--fallback", "5", "300"}), 0,
                   "LCU 7 is not registered; using the calibration of LCU 1 (" + file + ").\n")
                .out,
            "-0.33\n");
  EXPECT_TRUE(Succeeded(Lcu({"convert", "--lcu", "1", "5", "300"})).err.isEmpty());
  EXPECT_TRUE(
      Lcu({"convert", "--lcu", "1", "5", "300", "--explain"}).out.contains("\nCalibration file: " + file + "\n"));
  EXPECT_EQ(Lcu({"convert", "--lcu", "1", "5", "300", "--explain", "--json"})
                .OutJson()
                .array()[0]
                .toObject()["calibrationFile"],
            file);

  // The connected LCU 1, no longer registered.
  Succeeded(Lcu({"settings", "set", "Config/LCUs/Serial1", "Serial", "5"}));
  const ProgramRun converted = Succeeded(InLcu({"convert", "5", "300"}));
  EXPECT_EQ(converted.err, "LCU 1 is not registered; using the calibration of LCU 5 (" + file + ").\n");
}

TEST_F(ChannelCommandsTest, MonitorCsvRecordsATimestampedLinePerTick) {
  const ProgramRun run = Succeeded(InLcu({"monitor", "5", "15", "70", "--csv", "--count", "3"}));
  const QStringList lines = run.OutLines();
  ASSERT_EQ(lines.size(), 4) << run.out.toStdString();
  EXPECT_EQ(lines[0], "time,FUEL PRESS [bar],SUSP FL [mm],GEAR");
  const QRegularExpression row(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3},-?\d+\.\d\d,-?\d+\.\d,\d$)");
  for (qsizetype i = 1; i < lines.size(); ++i) EXPECT_TRUE(row.match(lines[i]).hasMatch()) << lines[i].toStdString();
}

#if !defined(_WIN32)
TEST_F(ChannelCommandsTest, MonitorEndsCleanlyOnCtrlC) {
  QProcess process;
  StartLcu(process, {"--sim-state", State(), "monitor", "5"});
  ASSERT_TRUE(process.waitForReadyRead(10000));
  ::kill(static_cast<pid_t>(process.processId()), SIGINT);
  ASSERT_TRUE(process.waitForFinished(10000));
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(process.exitCode(), 0);
  const QString out = QString::fromUtf8(process.readAllStandardOutput());
  EXPECT_TRUE(out.endsWith("\n\n")) << "the last table is cut off: " << out.toStdString();
}
#endif

TEST_F(ChannelCommandsTest, ZeroShiftsTheOffsetSavesTheCalibrationAndSendsIt) {
  const QByteArray before = ReadFile(CalibrationFile());
  const ProgramRun zero = Succeeded(InLcu({"zero", "5", "--value", "0", "--yes"}));
  EXPECT_TRUE(zero.err.endsWith("LCU configuration successfully updated.\n")) << zero.err.toStdString();

  // Which bytes of the file change is the core's zeroing test; here channel 5 reads 0 after,
  // in monitor's table of each tick written to a pipe: a heading, the rows, a blank line
  // (which value a reading gives is the core's monitor row test).
  EXPECT_FALSE(ReadFile(CalibrationFile()) == before);
  const QString out = Succeeded(InLcu({"monitor", "5", "70", "--count", "2"})).out;
  const QRegularExpression table(
      R"( ID  Channel +Value  Units +Raw\n005  FUEL PRESS +(-?\d+\.\d\d)  bar +\d+\n070  GEAR +\d +\d\n\n)");
  qsizetype tables = 0;
  qsizetype matched = 0;
  for (auto it = table.globalMatch(out); it.hasNext(); ++tables) {
    const QRegularExpressionMatch match = it.next();
    matched += match.capturedLength();
    EXPECT_LT(std::abs(match.captured(1).toDouble()), 0.3) << "channel 5 after zeroing";
  }
  EXPECT_EQ(tables, 2);
  EXPECT_EQ(matched, out.size()) << out.toStdString();
}

// Zeroing an LCU that is not registered asks before it writes another LCU's file (No without
// a terminal); zero --undo puts the file as it was before the last zeroing back.
TEST_F(ChannelCommandsTest, ZeroAsksForAnotherLcusFileAndUndoPutsTheFileBack) {
  const QByteArray before = ReadFile(CalibrationFile());
  const QString backup = CalibrationFile() + ".bak";
  Succeeded(Lcu({"settings", "set", "Config/LCUs/Serial1", "Serial", "5"}));
  const ProgramRun declined = InLcu({"zero", "5", "--value", "0"});
  EXPECT_EQ(declined.exitCode, 3);
  EXPECT_TRUE(declined.err.endsWith("LCU 1 is not registered; use the calibration of LCU 5 (@LCU1.cal)? [y/N] n\n"))
      << declined.err.toStdString();
  EXPECT_TRUE(ReadFile(CalibrationFile()) == before);
  EXPECT_FALSE(QFile::exists(backup));

  Succeeded(Lcu({"settings", "set", "Config/LCUs/Serial1", "Serial", "1"}));
  const ProgramRun zeroed = Succeeded(InLcu({"zero", "5", "--value", "0", "--yes"}));
  EXPECT_TRUE(zeroed.err.startsWith(
      "Zero FUEL PRESS of LCU 1 to 0? The calibration file is replaced; its previous version is kept. [y/N] y\n"))
      << zeroed.err.toStdString();
  EXPECT_TRUE(ReadFile(backup) == before);
  EXPECT_FALSE(ReadFile(CalibrationFile()) == before);

  const ProgramRun undone = Succeeded(InLcu({"zero", "--undo", "--yes"}));
  EXPECT_TRUE(undone.err.startsWith(
      "The calibration of LCU 1 is back as it was before the last zeroing. Send it to the LCU? [y/N] y\n"))
      << undone.err.toStdString();
  EXPECT_TRUE(ReadFile(CalibrationFile()) == before);
  EXPECT_FALSE(QFile::exists(backup));
  Failed(InLcu({"zero", "--undo"}), 1,
         "There is no earlier calibration to put back.\n" + backup + ": No such file or directory\n");
  EXPECT_EQ(InLcu({"zero", "5", "--undo"}).exitCode, 2);
  Failed(InLcu({"zero", "5"}), 2,
         "zero needs CHANNEL... and --value V, or --undo.\nRun with --help for more information.\n");
}

// A record below the load window, two inside it, and the end record.
constexpr char kFirmware[] =
    ":041000005555555598\n"
    ":10200000000102030405060708090A0B0C0D0E0F58\n"
    ":04300000DEADBEEF94\n"
    ":00000001FF\n";

TEST_F(ChannelCommandsTest, LoadHexRefusesABadFileAsksAndReportsTheLoad) {
  WriteFile(Path("firmware.hex"), kFirmware);
  WriteFile(Path("corrupt.hex"), QByteArray(kFirmware).replace("0F58", "0F59"));
  const QString program = QDir(State()).filePath("program.bin");
  const QByteArray before = ReadFile(program);
  ASSERT_EQ(before.size(), 32768);

  Failed(InLcu({"load-hex", Path("corrupt.hex"), "--yes"}), 1, "Hex file line 2 has a wrong checksum.\n");
  EXPECT_TRUE(ReadFile(program) == before) << "sent a refused file";

  // Without a terminal the question is answered No.
  Failed(InLcu({"load-hex", Path("firmware.hex")}), 3, "Replace the LCU firmware. Do you want to continue ? [y/N] n\n");
  EXPECT_TRUE(ReadFile(program) == before) << "sent after No";

  const ProgramRun loaded = Succeeded(InLcu({"load-hex", Path("firmware.hex"), "--yes", "--verify"}));
  // What lands where in program memory is the core's upload test.
  EXPECT_EQ(loaded.out,
            "Loaded : 20 of 24576 bytes\nIgnored : 4 bytes between 1000 and 1003\nChecksum : DDD4H\nVerified : yes\n");
}
}  // namespace
