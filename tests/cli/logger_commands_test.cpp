// End-to-end runs of the logger commands against a simulated LCU kept in a state folder:
// what lcu prints, asks and exits with. What the commands do to the LCU byte by byte is the
// core's logger tests; here the LCU's memory file is only looked at where lcu alone decides.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QThread>

#include <csignal>
#ifndef _WIN32
#include <sys/types.h>
#endif

#include <algorithm>
#include <cstdint>

#include "core/logger/logger_header.h"
#include "lcu_program.h"

namespace {

using lcu::LoggerHeader;
using lcu::test::ProgramRun;
namespace hdr = lcu::hdr;

class LoggerCommandsTest : public lcu::test::SimulatedLcuTest {
 protected:
  QByteArray Memory() const { return ReadFile(QDir(State()).filePath("memory.bin")); }
  LoggerHeader Header() const {
    const QByteArray memory = Memory();
    LoggerHeader header;
    EXPECT_GE(memory.size(), static_cast<qsizetype>(lcu::kLoggerHeaderSize));
    std::copy_n(memory.begin(), std::min<qsizetype>(lcu::kLoggerHeaderSize, memory.size()), header.Bytes().begin());
    return header;
  }
};

TEST_F(LoggerCommandsTest, DownloadNamesTheDataFileAndDatInfoDescribesIt) {
  const ProgramRun download = Succeeded(InLcu({"download"}));
  ASSERT_EQ(download.OutLines().size(), 1) << download.out.toStdString();
  const QString path = download.OutLines().front();
  EXPECT_TRUE(path.startsWith(Path("Velmora/Sample/"))) << path.toStdString();
  EXPECT_TRUE(path.endsWith(".DAT"));
  // The family's other programs learn of the download from the real settings store.
  EXPECT_EQ(Lcu({"settings", "get", "Corvalent/Download", "File"}).out.trimmed(), path);

  EXPECT_TRUE(Failed(InLcu({"download"}), 1, "LCU has no data to download\n").out.isEmpty());

  // dat-info needs no LCU; it reads the header and the size, and says what is missing.
  const qint64 size = QFileInfo(path).size();
  QFile::copy(path, Path("cut.DAT"));
  QFile::resize(Path("cut.DAT"), size - 100);
  QFile::copy(path, Path("stub.DAT"));
  QFile::resize(Path("stub.DAT"), 100);
  const struct {
    QString file;
    int exitCode;
    const char* shown;
  } infos[] = {
      {path, 0, "Complete : yes\n"},
      {Path("cut.DAT"), 0, "Complete : no\n"},
      {Path("stub.DAT"), 1, "Data file is too short.\n"},
  };
  for (const auto& info : infos) {
    const ProgramRun run = Lcu({"dat-info", info.file});
    EXPECT_EQ(run.exitCode, info.exitCode) << info.file.toStdString();
    EXPECT_TRUE((info.exitCode == 0 ? run.out : run.err).contains(info.shown))
        << run.out.toStdString() << run.err.toStdString();
  }

  // As JSON, the sizes and the buffers say the same: the missing bytes are the last buffer's.
  const ProgramRun json = Succeeded(Lcu({"dat-info", Path("cut.DAT"), "--json"}));
  const QJsonObject cut = json.OutJson().object();
  EXPECT_EQ(cut["lcuNumber"], 1);
  EXPECT_EQ(cut["complete"], false);
  EXPECT_EQ(cut["size"].toInteger(), size - 100);
  EXPECT_EQ(cut["expectedSize"].toInteger(), size);
  const QJsonObject last = cut["buffers"].toArray().last().toObject();
  EXPECT_EQ(last["bytesInFile"].toInteger(), last["length"].toInteger() - 100);
  EXPECT_EQ(cut["session"], Lcu({"dat-info", path, "--json"}).OutJson().object().value("session"));
}

TEST_F(LoggerCommandsTest, DownloadOfAnLcuThatStartedLoggingMeanwhileFailsNamingTheFile) {
  // The poll, the logging state, the header, then the first buffer's set-up: the LCU starts
  // logging there, and logs on while the rest of the download runs. The file is kept and
  // named, on stdout as soon as it is on disk and with the failure on stderr.
  m_extraEnvironment.insert("LCU_SIM_FAULTS", "log:5");
  const ProgramRun download = InLcu({"download"});
  EXPECT_EQ(download.exitCode, 1);
  const QStringList kept = QDir(Path("Velmora/Sample")).entryList(QDir::Files);
  ASSERT_EQ(kept.size(), 1);
  EXPECT_EQ(download.out, Path("Velmora/Sample/" + kept.front()) + "\n");
  EXPECT_EQ(download.err, "LCU logged more data during the download and was not reset.\nPlease download again.\n" +
                              Path("Velmora/Sample/" + kept.front()) + "\n");
  EXPECT_NE(Header().DataPresent(), 0u) << "the LCU was reset";
}

// With Protect Data on, a download the LCU logged into is kept and named, but fails: its
// buffers may mix older and newer data. The settings do not name it as the new download.
TEST_F(LoggerCommandsTest, ProtectedDownloadThatTheLcuLoggedIntoFails) {
  Succeeded(Lcu({"settings", "set", "Corvalent/Settings", "Preserve Buffer", "1", "--integer"}));
  m_extraEnvironment.insert("LCU_SIM_FAULTS", "log:5");
  const ProgramRun download = InLcu({"download"});
  EXPECT_EQ(download.exitCode, 1);
  const QStringList kept = QDir(Path("Velmora/Sample")).entryList(QDir::Files);
  ASSERT_EQ(kept.size(), 1);
  EXPECT_EQ(download.out, Path("Velmora/Sample/" + kept.front()) + "\n");
  EXPECT_EQ(download.err,
            "LCU logged during the download.\nThe data file may mix older and newer data. Please download "
            "again.\n" +
                Path("Velmora/Sample/" + kept.front()) + "\n");
  EXPECT_NE(Lcu({"settings", "get", "Corvalent/Download", "File"}).exitCode, 0);
  const ProgramRun info = Lcu({"dat-info", Path("Velmora/Sample/" + kept.front())});
  EXPECT_TRUE(info.out.contains("\nComplete : no\nLogged during download : yes")) << info.out.toStdString();
}

// The reset's write fails part way (the bulk write, the download's last transfer): the data is
// safe, and the message says where and that the LCU may be empty already.
TEST_F(LoggerCommandsTest, AResetThatFailsPartWayNamesTheCompleteFile) {
  // A download with Protect Data on makes every transfer but the reset's set-up and write.
  Succeeded(Lcu({"settings", "set", "Corvalent/Settings", "Preserve Buffer", "1", "--integer"}));
  Succeeded(InLcu({"--record", Path("clean.txt"), "download"}));
  const QStringList lines = QString::fromUtf8(ReadFile(Path("clean.txt"))).split('\n');
  const auto transfers = std::count_if(lines.begin(), lines.end(), [](const QString& line) {
    return line.startsWith("control") || line.startsWith("bulk-");
  });
  Succeeded(Lcu({"settings", "set", "Corvalent/Settings", "Preserve Buffer", "0", "--integer"}));
  m_extraEnvironment.insert("LCU_SIM_FAULTS", QString("short:%1").arg(transfers + 2));
  const ProgramRun download = InLcu({"download"});
  EXPECT_EQ(download.exitCode, 1);
  ASSERT_EQ(download.OutLines().size(), 1);
  const QString path = download.OutLines().front();
  EXPECT_TRUE(
      download.err.endsWith("Error while resetting LCU\nThe LCU sent or took fewer bytes than requested.\n"
                            "The data file is complete; the LCU may already be empty.\n" +
                            path + "\n"))
      << download.err.toStdString();
  EXPECT_TRUE(Lcu({"dat-info", path}).out.contains("Complete : yes\n"));
}

#ifndef _WIN32
// Ctrl+C, SIGTERM and SIGHUP stop a download as a quit does: the partial file is named before
// the program ends, and the LCU keeps its data.
TEST_F(LoggerCommandsTest, ASignalStopsTheDownloadNamingThePartialFile) {
  m_extraEnvironment.insert("LCU_SIM_LINK", "full");
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    for (const QString& name : QDir(Path("Velmora/Sample")).entryList(QDir::Files))
      QFile::remove(Path("Velmora/Sample/" + name));
    const QByteArray before = Memory();
    QProcess process;
    StartLcu(process, {"--sim-state", State(), "download"});
    // The download is under way once its file holds the header.
    for (int wait = 0; wait < 500; ++wait) {
      const QStringList files = QDir(Path("Velmora/Sample")).entryList(QDir::Files);
      if (!files.isEmpty() && QFileInfo(Path("Velmora/Sample/" + files.front())).size() > 0) break;
      QThread::msleep(10);
    }
    ::kill(static_cast<pid_t>(process.processId()), signal);
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 1);
    const QStringList kept = QDir(Path("Velmora/Sample")).entryList(QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    const QString partial = Path("Velmora/Sample/" + kept.front());
    EXPECT_EQ(QString::fromUtf8(process.readAllStandardError()), "Data file is incomplete.\n" + partial + "\n");
    EXPECT_TRUE(process.readAllStandardOutput().isEmpty());
    EXPECT_TRUE(Lcu({"dat-info", partial}).out.contains("Complete : no\n"));
    EXPECT_TRUE(Memory().mid(64) == before.mid(64)) << "the LCU changed";
  }

  // dump-data the same, keeping the whole units it read.
  QProcess dump;
  StartLcu(dump, {"--sim-state", State(), "dump-data", Path("dump.bin")});
  for (int wait = 0; wait < 500 && !QFileInfo::exists(Path("dump.bin")); ++wait) QThread::msleep(10);
  ::kill(static_cast<pid_t>(dump.processId()), SIGINT);
  ASSERT_TRUE(dump.waitForFinished(60000));
  EXPECT_EQ(dump.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(dump.exitCode(), 1);
  EXPECT_EQ(QString::fromUtf8(dump.readAllStandardError()), "Data file is incomplete.\n" + Path("dump.bin") + "\n");
  EXPECT_LT(ReadFile(Path("dump.bin")).size(), Memory().size());
  EXPECT_EQ(ReadFile(Path("dump.bin")).size() % 524288, 0);
}
#endif

// dump-data copies the whole data memory as it is and leaves the LCU alone, also when the
// header's memory size is refused and the size is given; an existing file is never replaced.
TEST_F(LoggerCommandsTest, DumpDataCopiesTheWholeDataMemory) {
  const QByteArray memory = Memory();
  const QString dumpPath = Path("dump.bin");
  EXPECT_EQ(Succeeded(InLcu({"dump-data", dumpPath})).out, dumpPath + "\n");
  // The status block's clock runs on by itself.
  EXPECT_TRUE(ReadFile(dumpPath).mid(64) == memory.mid(64)) << "the dump differs from the data memory";
  EXPECT_TRUE(Memory().mid(64) == memory.mid(64)) << "the LCU changed";

  Failed(InLcu({"dump-data", dumpPath}), 1, "Failed to create output file.\n" + dumpPath + ": File exists\n");
  EXPECT_EQ(ReadFile(dumpPath).size(), memory.size());

  EXPECT_EQ(InLcu({"dump-data", Path("none.bin"), "--units", "2048"}).err,
            "Memory size 2048 lies outside 1 to 2047.\n");

  // A header whose memory size cannot be right: the size must be given.
  QByteArray damaged = memory;
  damaged[static_cast<qsizetype>(hdr::kMemorySize)] = 0;
  WriteFile(QDir(State()).filePath("memory.bin"), damaged);
  Failed(InLcu({"dump-data", Path("refused.bin")}), 1,
         "Logger header is invalid.\nMemory size 0 lies outside 1 to 2047.\nGive the memory size with --units M.\n");
  EXPECT_FALSE(QFileInfo::exists(Path("refused.bin")));
  Succeeded(InLcu({"dump-data", Path("given.bin"), "--units", "1"}));
  EXPECT_TRUE(ReadFile(Path("given.bin")).mid(64) == damaged.mid(64, 524288 - 64));

  // A failure part way keeps the units read and says so: after the poll and unit 0 (its
  // set-up, 32 chunks and the remainder), unit 1's fourth chunk fails.
  QFile::remove(dumpPath);
  m_extraEnvironment.insert("LCU_SIM_FAULTS", "fail:40");
  const ProgramRun failed = InLcu({"dump-data", dumpPath, "--units", "2"});
  EXPECT_EQ(failed.exitCode, 1);
  EXPECT_TRUE(failed.out.isEmpty());
  EXPECT_TRUE(failed.err.endsWith("Failed to read logger.\nData file is incomplete.\n" + dumpPath + "\n"))
      << failed.err.toStdString();
  EXPECT_EQ(ReadFile(dumpPath).size(), 524288);
}

// Without a terminal a question is answered No (exit 3, nothing sent); --yes answers it. That
// no command sends or writes anything after No is the core's test.
TEST_F(LoggerCommandsTest, QuestionsAreAnsweredNoWithoutTheYesOption) {
  const QByteArray before = Memory();
  Failed(InLcu({"send-config"}), 3, "LCU contains data. Do you want to continue ? [y/N] n\n");
  EXPECT_TRUE(Memory() == before) << "sent after No";

  const ProgramRun sent = Succeeded(InLcu({"send-config", "--yes"}));
  EXPECT_TRUE(sent.err.endsWith("LCU configuration successfully updated.\n")) << sent.err.toStdString();
  EXPECT_EQ(Header().DataPresent(), 0u);

  Failed(InLcu({"init", "70000"}), 2, "Please enter an integer between 0 and 65535.\n");
  Succeeded(InLcu({"init", "7", "--yes"}));
  EXPECT_EQ(Header().LcuNumber(), 7);
}

TEST_F(LoggerCommandsTest, SessionPrintsTheSessionDataAndWritesOnlyWhatIsGiven) {
  const QByteArray before = Memory();
  const ProgramRun show = Succeeded(InLcu({"session"}));
  const QJsonObject json = InLcu({"session", "--json"}).OutJson().object();
  EXPECT_EQ(show.out, QString("Session : %1\nOuting : %2\nLap Count : %3\nPace Laps : %4\n")
                          .arg(json["session"].toInt())
                          .arg(json["outing"].toInt())
                          .arg(json["lapCount"].toInt())
                          .arg(json["paceLaps"].toInt()));
  EXPECT_EQ(json["session"], Header().U16(hdr::kSession) + 1) << "shown from 1";
  EXPECT_TRUE(Memory() == before) << "written without options";

  // A value the LCU cannot store as given is a usage error that names the option and its
  // range (which ranges they are is the core's session test); nothing is written.
  const ProgramRun refused = InLcu({"session", "--session", "70000"});
  EXPECT_TRUE(Failed(refused, 2, "--session: 70000 is not between 1 and 65536\n").out.isEmpty());
  EXPECT_TRUE(Memory() == before) << "written after a refusal";

  const ProgramRun update = Succeeded(InLcu({"session", "--laps", "40"}));
  EXPECT_EQ(update.out,
            QString(show.out).replace(QString("Lap Count : %1").arg(json["lapCount"].toInt()), "Lap Count : 40"))
      << "prints the values after the change";
  EXPECT_EQ(InLcu({"session"}).out, update.out) << "the LCU keeps them";
}

TEST_F(LoggerCommandsTest, LoggerStartStopAndTheFilesOfTheMaintenanceCommands) {
  Succeeded(InLcu({"logger", "start"}));
  Failed(InLcu({"download"}), 1, "Cannot download while logging is in progress !\n");
  Succeeded(InLcu({"logger", "stop"}));
  // The logger start word: 0x80 while logging, 0 when stopped.
  EXPECT_TRUE(InLcu({"peek", "F752", "1"}).out.startsWith("F752 000 00 "));

  ASSERT_NE(Header().U32(hdr::kLogbook80), 0u);
  Succeeded(InLcu({"reset-logbook", "--yes"}));
  EXPECT_EQ(Header().U32(hdr::kLogbook80), 0u);

  const QString extract = Path("setup.stp");
  Succeeded(InLcu({"extract-setup", extract, "--yes"}));
  EXPECT_TRUE(ReadFile(extract) == Memory().left(static_cast<qsizetype>(lcu::kLoggerHeaderSize)));

  const QString dump = Path("program.bin");
  Failed(InLcu({"read-program", dump}), 0, "Hex file successfully downloaded.\n");
  EXPECT_TRUE(ReadFile(dump) == ReadFile(QDir(State()).filePath("program.bin")));
}

}  // namespace
