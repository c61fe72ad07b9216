// The download killed at random points: lcu download runs against a simulated LCU in a state
// folder holding a few megabytes of logged data and is killed with SIGKILL after a random
// delay. Whatever the moment, the state folder as the next run finds it must be sound:
// unless a complete data file exists, the LCU still holds its logged data (the header's
// buffer table and every logged byte as before), and a complete data file holds exactly that
// data. The delays come from a fixed generator, so a failing run repeats.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <csignal>
#include <filesystem>
#include <random>
#include <span>
#include <thread>
#include <vector>

#include "core/logger/data_file.h"
#include "core/logger/logger_header.h"
#include "lcu_program.h"

namespace lcu {
namespace {

namespace fs = std::filesystem;

constexpr std::uint16_t kMemorySize = 8;  // 4 MiB of data memory
constexpr int kRuns = 20;

std::span<const std::uint8_t> Bytes(const QByteArray& bytes) {
  return {reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())};
}

LoggerHeader HeaderOf(const QByteArray& memory) {
  return LoggerHeader(Bytes(memory).first<kLoggerHeaderSize>());
}

class DownloadKillTest : public test::LcuProgramTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(Lcu({"sim-setup"}).exitCode, 0);
    ASSERT_TRUE(QDir().mkpath(Path("Velmora/Sample")));
    ASSERT_EQ(Lcu({"--sim-state", Template(), "status"}).exitCode, 0);
    // A larger LCU whose first buffer fills most of it: the download takes a while.
    const QByteArray fresh = ReadFile(Template() + "/memory.bin");
    ASSERT_GE(fresh.size(), static_cast<qsizetype>(kLoggerHeaderSize));
    std::vector<std::uint8_t> memory(std::size_t{kMemorySize} * kMemoryUnit);
    std::copy_n(fresh.begin(), kLoggerHeaderSize, memory.begin());
    LoggerHeader h(std::span<const std::uint8_t, kLoggerHeaderSize>(memory.data(), kLoggerHeaderSize));
    h.SetU16(hdr::kMemorySize, kMemorySize);
    h.SetU32(hdr::kDataPresent, 1);
    h.SetU16(hdr::kWrapFlag, 0);
    const std::vector<LogBufferEntry> table = {{2, 1, {0x8000, 1}, {0x8000, 200}},
                                               {3, 1, {0x8000, 201}, {0x9000, 220}},
                                               {0, 0, {0x8000, 230}, {0x8000, 230}}};
    h.SetU16(hdr::kBufferCount, static_cast<std::uint16_t>(table.size() - 1));
    for (std::size_t i = 0; i < table.size(); ++i) h.SetEntry(i, table[i]);
    std::copy(h.Bytes().begin(), h.Bytes().end(), memory.begin());
    for (std::size_t i = kLoggerHeaderSize; i < memory.size(); ++i)
      memory[i] = static_cast<std::uint8_t>((i * 13) ^ (i >> 11));
    QFile file(Template() + "/memory.bin");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(reinterpret_cast<const char*>(memory.data()), static_cast<qint64>(memory.size())),
              static_cast<qint64>(memory.size()));
    file.close();
    m_before = QByteArray(reinterpret_cast<const char*>(memory.data()), static_cast<qsizetype>(memory.size()));
  }

  QString Template() const { return Path("template"); }
  QString State() const { return Path("lcu"); }
  QString DataFolder() const { return Path("Velmora/Sample"); }

  void ResetState() const {
    fs::remove_all(State().toStdString());
    fs::copy(Template().toStdString(), State().toStdString(), fs::copy_options::recursive);
    QDir folder(DataFolder());
    for (const QString& name : folder.entryList(QDir::Files)) folder.remove(name);
  }

  // The logged bytes of every buffer, in entry order, as the header describes them.
  static QByteArray LoggedData(const QByteArray& memory) {
    const LoggerHeader h = HeaderOf(memory);
    QByteArray data;
    for (std::size_t i = 0; i < h.BufferCount(); ++i) {
      const Position p = h.Entry(i).start;
      const std::uint64_t start = (std::uint64_t{p.page} << 14) + (p.window & 0x3FFFu);
      data += memory.mid(static_cast<qsizetype>(start), static_cast<qsizetype>(h.ExtentOf(i).length));
    }
    return data;
  }

  QByteArray m_before;
};

TEST_F(DownloadKillTest, AKilledDownloadNeverLeavesTheDataOnlyInAnIncompleteFile) {
  // How long an undisturbed download takes here: the delays are drawn across that time.
  ResetState();
  QElapsedTimer timer;
  timer.start();
  const test::ProgramRun clean = Lcu({"--sim-state", State(), "download"});
  const qint64 cleanMs = timer.elapsed();
  ASSERT_EQ(clean.exitCode, 0) << clean.err.toStdString();
  ASSERT_EQ(QDir(DataFolder()).entryList(QDir::Files).size(), 1);

  std::mt19937 random(20261206u);
  std::uniform_int_distribution<qint64> delayUs(0, cleanMs * 1000);
  for (int run = 0; run < kRuns; ++run) {
    ResetState();
    const qint64 delay = delayUs(random);
    QProcess process;
    StartLcu(process, {"--sim-state", State(), "download"});
    ASSERT_TRUE(process.waitForStarted(10000));
    std::this_thread::sleep_for(std::chrono::microseconds(delay));
    if (process.state() == QProcess::Running) {
      process.kill();
    }
    ASSERT_TRUE(process.waitForFinished(60000));

    // The folder as the next run finds it.
    const QStringList files = QDir(DataFolder()).entryList(QDir::Files);
    ASSERT_LE(files.size(), 1) << "run " << run;
    bool fileComplete = false;
    if (!files.isEmpty()) {
      const QByteArray file = ReadFile(DataFolder() + "/" + files.front());
      std::string_view error;
      const std::uint64_t size = static_cast<std::uint64_t>(file.size());
      const auto info =
          ReadDataFileInfo(Bytes(file).first(std::min<std::size_t>(Bytes(file).size(), kLoggerHeaderSize)), size, error);
      // A file killed before its header was whole is no data file at all.
      fileComplete = info && info->Complete();
      if (fileComplete) {
        EXPECT_TRUE(file.mid(static_cast<qsizetype>(kLoggerHeaderSize)) == LoggedData(m_before))
            << "run " << run << " (killed after " << delay << " us): a complete data file holds other data";
      }
    }
    // Until its data is safely in a file the LCU keeps everything but its status block, whose
    // clock runs on by itself.
    if (!fileComplete) {
      EXPECT_TRUE(ReadFile(State() + "/memory.bin").mid(64) == m_before.mid(64))
          << "run " << run << " (killed after " << delay << " us): the LCU changed, but no complete data file exists";
    }
    const test::ProgramRun status = Lcu({"--sim-state", State(), "status"});
    EXPECT_EQ(status.exitCode, 0) << "run " << run << ": the next run cannot use the LCU: " << status.err.toStdString();
  }
}

}  // namespace
}  // namespace lcu
