// lcu with a standard output that takes nothing (/dev/full, as a full disk): every command
// must say so and fail instead of passing for done, and a download must not empty the LCU
// when the data file's path could not be printed.
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include "lcu_program.h"

namespace {

using lcu::test::ProgramRun;

const QString kNoSpace = "Could not write the output.\nNo space left on device\n";

class UnwritableOutputTest : public lcu::test::SimulatedLcuTest {
 protected:
  // The run with stdout on /dev/full.
  ProgramRun IntoFullDevice(const QStringList& arguments) const {
    QProcess process;
    process.setStandardOutputFile("/dev/full");
    StartLcu(process, arguments);
    return Finished(process, arguments);
  }
  QStringList InState(const QStringList& arguments) const { return QStringList{"--sim-state", State()} + arguments; }
  // The LCU's data memory without the status block, whose clock runs on by itself.
  QByteArray Memory() const { return ReadFile(QDir(State()).filePath("memory.bin")).mid(64); }
};

TEST_F(UnwritableOutputTest, EveryCommandFailsAndSaysSo) {
  const QStringList cases[] = {
      {"--help"},
      InState({"status"}),
      InState({"channels"}),
      InState({"check", "--json"}),
      InState({"convert", "5", "100"}),
      // Without stopping at the first line it could not write, this would run for hours.
      InState({"monitor", "3", "4", "--csv", "--count", "100000"}),
      InState({"monitor", "3", "--count", "100000"}),
      {"settings", "list"},
  };
  for (const QStringList& arguments : cases) {
    SCOPED_TRACE(arguments.join(' ').toStdString());
    const ProgramRun run = IntoFullDevice(arguments);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, kNoSpace);
  }
}

TEST_F(UnwritableOutputTest, DownloadNamesTheFileOnStderrAndLeavesTheLcuAsItIs) {
  const QByteArray before = Memory();
  const ProgramRun run = IntoFullDevice(InState({"download"}));
  EXPECT_EQ(run.exitCode, 1);
  const QStringList files = QDir(Path("Velmora/Sample")).entryList(QDir::Files);
  ASSERT_EQ(files.size(), 1);
  const QString path = Path("Velmora/Sample/" + files.front());
  EXPECT_EQ(run.err, kNoSpace + "The data file is complete; the LCU was not emptied.\n" + path + "\n");
  EXPECT_EQ(Memory(), before) << "the LCU was emptied";
  EXPECT_TRUE(Succeeded(Lcu({"dat-info", path})).out.contains("Complete : yes\n"));

  // With stdout that takes the path, the same LCU is emptied.
  const ProgramRun done = Succeeded(InLcu({"download"}));
  EXPECT_TRUE(done.out.endsWith(".DAT\n")) << done.out.toStdString();
  EXPECT_NE(Memory(), before);
}

}  // namespace
