// End-to-end runs of the built lcu program: the global options, status, peek, settings and
// sim-setup, usage errors and every command's help.
#include <QFileInfo>
#include <QJsonObject>
#include <QRegularExpression>

#include "lcu_program.h"

namespace {

using lcu::test::LcuProgramTest;
using lcu::test::ProgramRun;

TEST_F(LcuProgramTest, StatusOfSimulatedLcuPrintsStatusBarTexts) {
  const ProgramRun run = Succeeded(Lcu({"--simulate", "status"}));
  const QRegularExpressionMatch texts =
      QRegularExpression("^ON LINE\nLCU# 1\nMEM: (\\d+)\nCLOCK: (\\d+):(\\d{1,2})\n$").match(run.out);
  ASSERT_TRUE(texts.hasMatch()) << run.out.toStdString();

  // The same figures as numbers.
  const ProgramRun json = Succeeded(Lcu({"--simulate", "status", "--json"}));
  const QJsonObject status = json.OutJson().object();
  EXPECT_EQ(status["online"], true);
  EXPECT_EQ(status["lcuNumber"], 1);
  EXPECT_EQ(status["memory"], texts.captured(1).toInt());
  EXPECT_EQ(status["clockHours"], texts.captured(2).toInt());
  EXPECT_EQ(status["clockMinutes"], texts.captured(3).toInt());
}

TEST_F(LcuProgramTest, PeekRowsStopAtTheTopOfMemory) {
  const struct {
    QStringList arguments;
    int rows;
    const char* first;
  } cases[] = {{{"0xFFF8", "16"}, 8, "FFF8 "}, {{"8000"}, 16, "8000 "}, {{"0", "64"}, 64, "0000 "}};
  for (const auto& c : cases) {
    const ProgramRun run = Succeeded(Lcu(QStringList{"--simulate", "peek"} + c.arguments));
    EXPECT_EQ(run.OutLines().size(), c.rows) << run.out.toStdString();
    EXPECT_TRUE(run.out.startsWith(c.first)) << run.out.toStdString();
  }
}

TEST_F(LcuProgramTest, PokeAsksThenWritesTheValueToEachAddressInOneFormat) {
  const QString state = Path("poke/state");
  Failed(Lcu({"--sim-state", state, "poke", "8100", "--ascii", "A"}), 3,
         "Write data to LCU memory. Do you want to continue ? [y/N] n\n");
  const ProgramRun peekBefore = Lcu({"--sim-state", state, "peek", "8100", "2"});

  // A value that is not a byte of its format is refused, naming it, and nothing is written.
  const QStringList refusals[] = {{"--dec", "abc"},
                                  {"--hex", "zz"},
                                  {"--bin", "2"},
                                  {"--ascii", ""},
                                  {"--hex", "100"},
                                  {"--hex", "1", "--dec", "2"},
                                  {}};
  for (const QStringList& formats : refusals) {
    const ProgramRun refused = Lcu(QStringList{"--sim-state", state, "--yes", "poke", "8100"} + formats);
    EXPECT_EQ(refused.exitCode, 2) << formats.join(' ').toStdString();
    if (formats.size() == 2) {
      EXPECT_TRUE(refused.err.contains("'" + formats[1] + "'")) << refused.err.toStdString();
    }
  }
  EXPECT_EQ(Lcu({"--sim-state", state, "peek", "8100", "2"}).out, peekBefore.out);

  Succeeded(Lcu({"--sim-state", state, "--yes", "poke", "8100", "8101", "--ascii", "A"}));
  EXPECT_EQ(Lcu({"--sim-state", state, "peek", "8100", "2"}).out, "8100 065 41 A 01000001\n8101 065 41 A 01000001\n");
}

// A configuration id that holds control characters is shown with them escaped, so that it
// cannot drive the terminal; as JSON it comes back whole, its 8-bit byte read as Latin-1.
TEST_F(LcuProgramTest, ConfigShowsControlCharactersEscaped) {
  const QString state = Path("escape/state");
  for (const QStringList& poke : {QStringList{"8100", "--hex", "1B"},
                                  {"8101", "--ascii", "c"},
                                  {"8102", "--ascii", "\""},
                                  {"8103", "--hex", "E9"}})
    ASSERT_EQ(Lcu(QStringList{"--sim-state", state, "--yes", "poke"} + poke).exitCode, 0);
  const ProgramRun config = Succeeded(Lcu({"--sim-state", state, "config"}));
  EXPECT_TRUE(config.OutLines().front().startsWith("Config ID : \\x1Bc\"")) << config.out.toStdString();
  EXPECT_FALSE(config.out.contains(QChar(0x1B)));

  const ProgramRun json = Succeeded(Lcu({"--sim-state", state, "config", "--json"}));
  const QJsonObject rows = json.OutJson().object();
  EXPECT_TRUE(rows["configId"].toString().startsWith(QString("\x1B"
                                                             "c\"") +
                                                     QChar(0xE9)))
      << json.out.toStdString();
  EXPECT_EQ(rows["lcuNumber"], 1);
  EXPECT_EQ(rows["memoryKib"], 1024);
  EXPECT_EQ(rows["version"], "1.0");
}

TEST_F(LcuProgramTest, VersionNamesTheProgramAndItsLibusbWithoutAnLcu) {
  const ProgramRun run = Succeeded(Lcu({"--version"}));
  EXPECT_TRUE(
      QRegularExpression("^lcu \\d+\\.\\d+\\.\\d+\nlibusb \\d+\\.\\d+\\.\\d+\\.\\d+\\S*\n$").match(run.out).hasMatch())
      << run.out.toStdString();
  EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
}

TEST_F(LcuProgramTest, UsageErrorsExitWithTwo) {
  const QStringList cases[] = {
      {},
      {"bogus"},
      {"--simulate", "peek"},
      {"--simulate", "peek", "8000", "65"},
      {"--simulate", "--sim-state", "state", "status"},
      {"settings"},
      {"settings", "set", "--integer", "Paths", "Level", "two"},
      {"--simulate", "init", "7x"},
      {"--simulate", "session", "--laps", "many"},
      {"--simulate", "logger", "pause"},
      {"dat-info"},
      {"--simulate", "channels", "5"},
      {"--simulate", "convert", "1024", "5"},
      {"convert", "--lcu", "70000", "5", "1"},
      {"--simulate", "monitor", "5", "--count", "0"},
      {"--simulate", "zero", "5", "--value", "zero"},
      {"--simulate", "load-hex"},
      {"--simulate", "dump-data", "dump.bin", "--units", "0"},
      {"--simulate", "poke", "10000", "--hex", "1"},
  };
  for (const QStringList& arguments : cases) {
    const ProgramRun run = Lcu(arguments);
    EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
    EXPECT_FALSE(run.err.trimmed().isEmpty()) << arguments.join(' ').toStdString();
  }
}

TEST_F(LcuProgramTest, EveryCommandHasHelp) {
  const QStringList commands = {
      "status",       "config",    "download",      "send-config",  "reset-logbook", "extract-setup",
      "read-program", "init",      "session",       "logger",       "logger start",  "logger stop",
      "peek",         "settings",  "settings list", "settings get", "settings set",  "sim-setup",
      "dat-info",     "channels",  "convert",       "monitor",      "zero",          "load-hex",
      "poke",         "dump-data", "list",          "check",        "set-clock",
  };
  for (const QString& command : commands) {
    const ProgramRun run = Lcu(command.split(' ') << "--help");
    EXPECT_EQ(run.exitCode, 0) << command.toStdString();
    EXPECT_TRUE(run.out.contains("Usage: lcu " + command)) << run.out.toStdString();
  }
}

// A value the programs read as a number takes only a number: "true" would read as 0.
TEST_F(LcuProgramTest, SettingsRoundTripThroughTheUserConfiguration) {
  const struct {
    QStringList arguments;
    int exitCode;
    const char* out;
    const char* err;
  } cases[] = {
      {{"set", "Corvalent/Settings", "Auto Download", "1", "--integer"}, 0, "", ""},
      {{"set", "Paths", "DataDirectory", "/data/with blanks"}, 0, "", ""},
      {{"get", "Corvalent\\Settings", "Auto Download"}, 0, "1\n", ""},
      {{"list"}, 0, "Corvalent\\Settings\\Auto Download = 1\nPaths\\DataDirectory = /data/with blanks\n", ""},
      {{"get", "Paths", "SetupDirectory"}, 1, "", "Setting not found: Paths\\SetupDirectory\n"},
      {{"set", "corvalent/settings", "Preserve Buffer", "true"},
       2,
       "",
       "corvalent\\settings\\Preserve Buffer takes a 32-bit decimal number, e.g. 1\n"},
      {{"get", "Corvalent/Settings", "Preserve Buffer"},
       1,
       "",
       "Setting not found: Corvalent\\Settings\\Preserve Buffer\n"},
      // A value the programs read under another key would do nothing where it was written.
      {{"set", "Settings", "Preserve Buffer", "1"},
       2,
       "",
       "The programs read Preserve Buffer under Corvalent\\Settings, not under Settings.\n"},
      {{"set", "Config/LCUs", "Serial", "7"},
       2,
       "",
       "The programs read Serial under Config\\LCUs\\Serial1 to Serial10, not under Config\\LCUs.\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments.join(' ').toStdString());
    EXPECT_EQ(Failed(Lcu(QStringList{"settings"} + c.arguments), c.exitCode, c.err).out, c.out);
  }
  EXPECT_TRUE(QFileInfo::exists(Path("config/Velmora/Velmora.ini")));

  // One written there by another tool is listed with a note.
  QFile ini(Path("config/Velmora/Velmora.ini"));
  ASSERT_TRUE(ini.open(QIODevice::Append));
  ini.write("\n[Settings]\nPreserve%20QMT=1\n");
  ini.close();
  const ProgramRun list = Succeeded(Lcu({"settings", "list"}));
  EXPECT_TRUE(list.out.contains("Settings\\Preserve QMT = 1\n")) << list.out.toStdString();
  EXPECT_EQ(list.err, "The programs read Preserve QMT under Corvalent\\Settings, not under Settings.\n");
}

}  // namespace
