// A fault in each of lcu's own ways of running an LCU command (the commands it runs through
// the core's command runner share one): the simulator's LCU_SIM_FAULTS breaks one of the
// command's transfers, and the failure must reach lcu's exit status and stderr with the
// command's messages, leave no output file behind and keep the LCU's data when the download
// is not on disk. What every transfer of every command does under each fault is the core's
// fault matrix.
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <string>
#include <vector>

#include "cli/cli_messages.h"
#include "lcu_program.h"
#include "support/command_fault_messages.h"

namespace lcu {
namespace {

using test::Fault;
using test::Messages;
namespace expect = test::fault_messages;

struct CliCase {
  QStringList arguments;
  Fault fault;
  int transfer;  // the command's own transfer, from 1 (the poll before it not counted)
  Messages (*expected)(Fault, int k);
  QString output;  // a file the command would write
};

class LcuFaultMatrix : public test::SimulatedLcuTest {
 protected:
  void SetUp() override {
    SimulatedLcuTest::SetUp();
    ASSERT_TRUE(QDir().mkpath(Path("Velmora/Sample")));
    // The LCU holds the download table and logged data that tells every byte apart.
    const QByteArray memory = ReadFile(Path("lcu/memory.bin"));
    std::vector<std::uint8_t> bytes(memory.begin(), memory.end());
    test::PrepareFaultDownload(bytes);
    WriteFile(Path("lcu/memory.bin"),
              QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
  }
  // The LCU's data memory without the status block, whose clock runs on by itself.
  QByteArray Memory() const { return ReadFile(Path("lcu/memory.bin")).mid(64); }
};

TEST_F(LcuFaultMatrix, EachCommandsFailureReachesExitStatusAndStderr) {
  const std::vector<CliCase> cases = {
      {{"status"}, Fault::kFail, 0, expect::Silent, {}},
      {{"download"}, Fault::kShort, 5, expect::Download, {}},
      {{"config"}, Fault::kUnplug, 1, expect::ReadLcu, {}},
      {{"extract-setup", Path("extract.stp")}, Fault::kShort, 2, expect::ExtractSetup, Path("extract.stp")},
      {{"peek", "8000"}, Fault::kFail, 1, expect::ReadLcu, {}},
      {{"monitor", "3", "4", "--count", "1", "--csv"}, Fault::kShort, 2, expect::ReadLcu, {}},
  };
  for (const CliCase& c : cases) {
    SCOPED_TRACE(c.arguments.join(' ').toStdString());
    const QByteArray before = Memory();
    const char* kind = c.fault == Fault::kFail ? "fail" : c.fault == Fault::kShort ? "short" : "unplug";
    // Transfer 1 of the run is the status poll.
    m_extraEnvironment.insert("LCU_SIM_FAULTS", QString("%1:%2").arg(kind).arg(c.transfer + 1));
    const test::ProgramRun run = InLcu(QStringList{"--yes"} + c.arguments);
    Messages expected = c.expected(c.fault, c.transfer);
    const QStringList kept = QDir(Path("Velmora/Sample")).entryList(QDir::Files);
    if (c.arguments.front() == "download") {
      // The part the download kept is named, reads as incomplete, and the LCU keeps its data.
      ASSERT_EQ(kept.size(), 1);
      const QString partial = Path("Velmora/Sample/" + kept.front());
      expected = expect::WithDataFilePath(expected, partial.toStdString());
      EXPECT_TRUE(Lcu({"dat-info", partial}).out.contains("Complete : no\n"));
      EXPECT_EQ(Memory(), before);
      EXPECT_TRUE(run.out.isEmpty());
    }
    QString shown;
    for (const std::string& m : expected) shown += QString::fromStdString(m) + '\n';
    EXPECT_EQ(run.exitCode, 1);
    // Stderr without the questions that --yes answered.
    EXPECT_EQ(QString(run.err).remove(QRegularExpression(".* \\[y/N\\] y\n")).toStdString(), shown.toStdString());
    if (!c.output.isEmpty()) {
      EXPECT_FALSE(QFile::exists(c.output));
    }
  }
}

}  // namespace
}  // namespace lcu
