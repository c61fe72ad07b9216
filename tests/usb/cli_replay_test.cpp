// lcu against checked-in transcripts recorded from the simulated LCU: replaying a command
// prints what the recorded run printed, and a command that leaves its transcript fails with
// the line it left.
#include <QRegularExpression>

#include "cli/lcu_program.h"

namespace lcu::test {
namespace {

QString Transcript(const QString& name) { return QStringLiteral(LCU_TRANSCRIPTS "/") + name; }

class LcuReplay : public LcuProgramTest {
 protected:
  static QString ReadText(const QString& path) { return QString::fromUtf8(ReadFile(path)); }
};

TEST_F(LcuReplay, CommandPrintsWhatTheRecordedRunPrinted) {
  // The transcripts are named after the command.
  for (const QStringList& arguments : {QStringList{"status"}, QStringList{"peek", "8000", "16"}}) {
    SCOPED_TRACE(arguments.front().toStdString());
    const ProgramRun run = Succeeded(Lcu(QStringList{"--replay", Transcript(arguments.front() + ".txt")} + arguments));
    EXPECT_EQ(run.out, ReadText(Transcript(arguments.front() + ".out")));
  }
}

TEST_F(LcuReplay, DownloadWritesTheRecordedData) {
  ASSERT_EQ(Lcu({"sim-setup"}).exitCode, 0);
  const ProgramRun run = Lcu({"--replay", Transcript("download.txt"), "--yes", "download"});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  const ProgramRun info = Lcu({"dat-info", run.out.trimmed()});
  QStringList lines = info.OutLines();
  lines.removeIf([](const QString& line) { return line.startsWith("Downloaded"); });
  EXPECT_EQ(lines, ReadText(Transcript("download.out")).split('\n', Qt::SkipEmptyParts));
}

// The core's tests cover every kind of difference; here the program shows it and fails.
TEST_F(LcuReplay, ChangedRequestFailsNamingTheLineAndATranscriptThatCannotBeOpenedStopsTheRun) {
  WriteFile(Path("status.txt"), ReadFile(Transcript("status.txt")).replace("value=8000", "value=8040"));
  const ProgramRun run = Lcu({"--replay", Path("status.txt"), "status"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "OFF LINE\n");
  const QRegularExpression deviation(
      "^Transcript line 4: expected control handle=\\d+ type=C0 request=41 value=8040 index=0000 length=64, "
      "but the program made control handle=\\d+ type=C0 request=41 value=8000 index=0000 length=64\n$");
  EXPECT_TRUE(deviation.match(run.err).hasMatch()) << run.err.toStdString();

  // A transcript that cannot be read, or one to record into that cannot be written, stops the
  // run before any transfer (the replay is set up before the recorder that would take it over).
  const ProgramRun unreadable = Lcu({"--replay", Path("missing.txt"), "status"});
  EXPECT_EQ(unreadable.exitCode, 1);
  EXPECT_TRUE(unreadable.err.contains("missing.txt")) << unreadable.err.toStdString();
  const ProgramRun unwritable =
      Lcu({"--replay", Transcript("status.txt"), "--record", Path("missing/status.txt"), "status"});
  EXPECT_EQ(unwritable.exitCode, 1);
  EXPECT_TRUE(unwritable.err.startsWith("Cannot create the transcript ")) << unwritable.err.toStdString();
  EXPECT_EQ(unwritable.out, "");
}

}  // namespace
}  // namespace lcu::test
