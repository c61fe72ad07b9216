// The fault matrix of the lcu program: every command that talks to the LCU runs against a
// simulated LCU in a state folder, first cleanly (its transfers counted from its transcript),
// then once with each transfer failing, once with each bulk transfer coming up short and once
// with the LCU unplugged at each transfer (the simulator's LCU_SIM_FAULTS). Every case must
// end with exit status 1 and exactly the command's messages on stderr, leave no output file
// behind (a failed download may keep its partial data file, which then reads as incomplete),
// never empty an LCU whose data is not in a complete data file, and let the same command
// succeed on the next run.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <iostream>
#include <span>
#include <string>
#include <vector>

#include "cli/cli_messages.h"
#include "core/logger/data_file.h"
#include "lcu_program.h"
#include "support/command_fault_messages.h"
#include "support/hex_text.h"

namespace lcu {
namespace {

namespace fs = std::filesystem;
using test::Fault;
using test::Messages;
namespace expect = test::fault_messages;

struct CliCommand {
  const char* name;
  QStringList arguments;
  // What the command says when the first poll finds the LCU off line; null: nothing.
  const char* offline;
  // The messages of a fault at the command's own transfer k (the poll not counted).
  Messages (*expected)(Fault, int k);
  bool readsOnly;
  bool download;
  // A file the command writes; it must not exist after a failure.
  QString output;
};

class LcuFaultMatrix : public test::LcuProgramTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(Lcu({"sim-setup"}).exitCode, 0);
    ASSERT_TRUE(QDir().mkpath(Path("Velmora/Sample")));
    ASSERT_EQ(Lcu({"--sim-state", Template(), "status"}).exitCode, 0);
    // The LCU holds the download table and logged data that tells every byte apart.
    const QByteArray memory = ReadFile(TemplateFile());
    std::vector<std::uint8_t> bytes(memory.begin(), memory.end());
    test::PrepareFaultDownload(bytes);
    QFile file(TemplateFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    const std::vector<std::uint8_t> firmware(256, 0x5A);
    QFile hex(Path("firmware.hex"));
    ASSERT_TRUE(hex.open(QIODevice::WriteOnly));
    hex.write(QByteArray::fromStdString(test::HexRecords(0x2000, firmware, {16}) + test::HexEndRecord() + "\n"));
  }

  QString Template() const { return Path("template"); }
  QString TemplateFile() const { return Path("template/memory.bin"); }
  QString State() const { return Path("lcu"); }
  // The LCU's data memory without the status block, whose clock runs on by itself.
  QByteArray Memory() const { return ReadFile(State() + "/memory.bin").mid(64); }

  // A fresh copy of the prepared LCU.
  void ResetState() const {
    fs::remove_all(State().toStdString());
    fs::copy(Template().toStdString(), State().toStdString(), fs::copy_options::recursive);
  }
  void ClearData() const {
    QDir sample(Path("Velmora/Sample"));
    for (const QString& name : sample.entryList(QDir::Files)) sample.remove(name);
  }
  QStringList DataFiles() const { return QDir(Path("Velmora/Sample")).entryList(QDir::Files); }

  test::ProgramRun Run(const CliCommand& command, const QString& faults) {
    if (faults.isEmpty()) {
      m_extraEnvironment.remove("LCU_SIM_FAULTS");
    } else {
      m_extraEnvironment.insert("LCU_SIM_FAULTS", faults);
    }
    return Lcu(QStringList{"--sim-state", State(), "--yes"} + command.arguments);
  }

  std::vector<CliCommand> Commands() const {
    const char* offline = "LCU is off-line";
    const char* offlineDot = "LCU is off-line.";
    return {
        {"status", {"status"}, nullptr, expect::Silent, true, false, {}},
        {"download", {"download"}, offline, expect::Download, false, true, {}},
        {"send-config", {"send-config"}, offline, expect::SendConfig, false, false, {}},
        {"config", {"config"}, offlineDot, expect::ReadLcu, true, false, {}},
        {"reset-logbook", {"reset-logbook"}, offlineDot, expect::ResetLogbook, false, false, {}},
        {"extract-setup", {"extract-setup", Path("extract.stp")}, offlineDot, expect::ExtractSetup, true, false,
         Path("extract.stp")},
        {"read-program", {"read-program", Path("Read.bin")}, offline, expect::ReadHexFile, true, false,
         Path("Read.bin")},
        {"init", {"init", "1"}, offlineDot, expect::InitializeLcu, false, false, {}},
        {"session", {"session", "--session", "5", "--laps", "40"}, offline, expect::SessionData, false, false, {}},
        // Start Logger looks at no poll: its write finds the link closed.
        {"logger start", {"logger", "start"}, nullptr, expect::StartLogger, false, false, {}},
        {"logger stop", {"logger", "stop"}, nullptr, expect::StartLogger, false, false, {}},
        {"load-hex", {"load-hex", Path("firmware.hex")}, offline, expect::LoadHexFile, true, false, {}},
        {"peek", {"peek", "8000"}, offline, expect::ReadLcu, true, false, {}},
        {"poke", {"poke", "F000", "F001", "F002", "--hex", "12"}, offline, expect::MemoryWrite, false, false, {}},
        {"monitor", {"monitor", "3", "4", "--count", "1", "--csv"}, offline, expect::ReadLcu, true, false, {}},
    };
  }
};

struct CleanRun {
  int transfers = 0;
  std::vector<bool> bulk;
};

CleanRun CountTransfers(const QByteArray& transcript) {
  CleanRun run;
  for (const QByteArray& line : transcript.split('\n')) {
    if (line.startsWith("control ")) run.bulk.push_back(false);
    if (line.startsWith("bulk-read ") || line.startsWith("bulk-write ")) run.bulk.push_back(true);
  }
  run.transfers = static_cast<int>(run.bulk.size());
  return run;
}

// Stderr without the questions that --yes answered.
QString Shown(const QString& err) {
  QString text;
  for (const QString& line : err.split('\n', Qt::SkipEmptyParts))
    if (!line.endsWith(" [y/N] y")) text += line + '\n';
  return text;
}

QString Joined(const Messages& messages) {
  QString text;
  for (const std::string& m : messages) text += QString::fromStdString(m) + '\n';
  return text;
}

// A data file left by a failed download must read as incomplete.
bool ReadsIncomplete(const QByteArray& file) {
  std::string_view error;
  const auto info = ReadDataFile(
      std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(file.constData()),
                                    static_cast<std::size_t>(file.size())),
      error);
  return info && !info->Complete();
}

TEST_F(LcuFaultMatrix, EveryTransferOfEveryCommandFailsShortAndUnpluggedInTurn) {
  int cases = 0;
  int passed = 0;
  for (const CliCommand& command : Commands()) {
    ResetState();
    ClearData();
    QStringList recordArguments = {"--record", Path("clean.txt")};
    const test::ProgramRun clean = Lcu(QStringList{"--sim-state", State(), "--yes"} + recordArguments + command.arguments);
    ASSERT_EQ(clean.exitCode, 0) << command.name << ": " << clean.err.toStdString();
    const CleanRun counted = CountTransfers(ReadFile(Path("clean.txt")));
    ASSERT_GT(counted.transfers, 0) << command.name;
    int commandCases = 0;
    for (const Fault fault : {Fault::kFail, Fault::kShort, Fault::kUnplug}) {
      for (int k = 1; k <= counted.transfers; ++k) {
        if (fault == Fault::kShort && !counted.bulk[static_cast<std::size_t>(k - 1)]) continue;
        ++cases;
        ++commandCases;
        ResetState();
        ClearData();
        if (!command.output.isEmpty()) QFile::remove(command.output);
        const QByteArray before = Memory();
        const char* kind = fault == Fault::kFail ? "fail" : fault == Fault::kShort ? "short" : "unplug";
        const test::ProgramRun run = Run(command, QString("%1:%2").arg(kind).arg(k));

        std::vector<std::string> problems;
        const auto check = [&](bool ok, const std::string& what) {
          if (!ok) problems.push_back(what);
        };
        // Without an off-line message of its own a command meets the failed poll in its first
        // transfer (numbered 0), which finds the link closed.
        Messages expected = k == 1 ? (command.offline ? Messages{command.offline} : command.expected(fault, 0))
                                   : command.expected(fault, k - 1);
        // The part a failed download kept is named, and said to be incomplete.
        if (command.download && run.out.isEmpty() && !DataFiles().isEmpty()) {
          expected.emplace_back(cli::msg::kDataFileIncomplete);
          expected.push_back(Path("Velmora/Sample/" + DataFiles().front()).toStdString());
        }
        check(run.exitCode == 1, "exit status " + std::to_string(run.exitCode));
        check(Shown(run.err) == Joined(expected),
              "stderr \"" + run.err.toStdString() + "\" instead of \"" + Joined(expected).toStdString() + "\"");
        if (!command.output.isEmpty()) check(!QFile::exists(command.output), "the output file was left behind");
        if (command.readsOnly) check(Memory() == before, "a command that only reads changed the LCU's memory");
        bool saved = false;
        if (command.download) {
          const QStringList files = DataFiles();
          check(files.size() <= 1, "more than one data file");
          saved = !run.out.isEmpty();
          if (saved) {
            check(files.size() == 1 && run.OutLines().front().endsWith(files.front()), "stdout names no data file");
            check(files.size() == 1 && !ReadsIncomplete(ReadFile(Path("Velmora/Sample/" + files.front()))),
                  "the named data file is not complete");
          } else {
            check(Memory() == before, "the LCU lost its data although the data file is not complete");
            for (const QString& file : files)
              check(ReadsIncomplete(ReadFile(Path("Velmora/Sample/" + file))), "a partial data file reads as complete");
          }
        }
        // The next run, with the LCU back, succeeds.
        if (saved) ResetState();
        const test::ProgramRun next = Run(command, {});
        check(next.exitCode == 0, "the next run failed: " + next.err.toStdString());

        if (problems.empty()) {
          ++passed;
          continue;
        }
        for (const std::string& problem : problems)
          ADD_FAILURE() << "lcu " << command.name << ", " << FaultName(fault) << " at transfer " << k << ": " << problem;
      }
    }
    std::cout << "  lcu " << command.name << ": " << counted.transfers << " transfers, " << commandCases << " cases\n";
  }
  std::cout << "fault matrix: " << cases << " cases, " << passed << " passed\n";
  EXPECT_EQ(passed, cases);
}

}  // namespace
}  // namespace lcu
