// The fault matrix of the desktop program: the LCU traffic as the program itself runs it (the
// session's poll with the channel-value request, a monitor window's update, the memory
// window's refresh and write, and the menu commands) against the simulated LCU. Each command's
// transfers are counted on a clean run; then it runs once with each transfer failing, once
// with each bulk transfer coming up short and once with the LCU unplugged at each transfer.
// Every case must show the command's own messages and nothing else, send nothing after the
// fault, hold no file open, keep the data of an LCU whose data file is not complete, and the
// same program must run the command again once the LCU is back.
#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <optional>

#include <stdlib.h>

#include <QEvent>
#include <QTemporaryDir>
#include <QObject>

#include "core/app/messages.h"
#include "core/host/default_paths.h"
#include "core/logger/data_file.h"
#include "core/logger/maintenance_commands.h"
#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"
#include "gui/logger/progress_dlg.h"
#include "gui/memory/address_view.h"
#include "gui/memory/datum_dlg.h"
#include "gui/memory/memory_template.h"
#include "monitor_fixture.h"
#include "support/command_fault_messages.h"
#include "support/hex_text.h"

namespace lcu::test {
namespace {

namespace fs = std::filesystem;
namespace expect = fault_messages;

// Files of the folder the process holds open.
int OpenFilesIn(const std::string& folder) {
  int open = 0;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator("/proc/self/fd", ec)) {
    const fs::path target = fs::read_symlink(entry.path(), ec);
    if (!ec && target.string().rfind(folder, 0) == 0) ++open;
  }
  return open;
}

// The test ticks each window itself: no timer may add a poll or an exchange while a command
// lets messages through.
class TimerBlocker : public QObject {
 protected:
  bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::Timer; }
};

class GuiFaultMatrix : public MonitorFixture {
 protected:
  struct Command {
    const char* name;
    // Readies the program and the LCU for one run.
    std::function<void()> prepare;
    std::function<void()> run;
    Messages (*expected)(Fault, int k);
    // What the program shows once the command has failed: empty when right, else the fault.
    std::function<std::string()> afterFault;
  };

  void TearDown() override {
    QCoreApplication::instance()->removeEventFilter(&timers);
    MonitorFixture::TearDown();
    if (m_oldHome) {
      setenv("HOME", m_oldHome->c_str(), 1);
    } else {
      unsetenv("HOME");
    }
  }
  void SetUp() override {
    // Extract Setup and Read Hex File write to fixed paths below the home folder.
    if (const char* home = std::getenv("HOME")) m_oldHome = home;
    ASSERT_TRUE(m_home.isValid());
    setenv("HOME", m_home.path().toLocal8Bit().constData(), 1);
    fs::create_directories(fs::path(DefaultSetupExtractPath()).parent_path());
    MonitorFixture::SetUp();
    QCoreApplication::instance()->installEventFilter(&timers);
    StartOnLine();
    prompter->passwordEntries = {gui::ToQString(gui::text::kServicePassword1)};
    Choose(gui::cmd::kPassword);
    dataDir = DataDirectory(Store());
    const std::vector<std::uint8_t> firmware(256, 0x5A);
    hexPath = dataDir + "/../firmware.hex";
    QFile hex(QString::fromStdString(hexPath));
    ASSERT_TRUE(hex.open(QIODevice::WriteOnly));
    hex.write(QByteArray::fromStdString(HexRecords(0x2000, firmware, {16}) + HexEndRecord() + "\n"));
  }

  void PrepareDownload() {
    std::vector<std::uint8_t> memory = sim->DataMemory();
    PrepareFaultDownload(memory);
    sim->WriteDataMemory(0, memory);
    for (const auto& entry : fs::directory_iterator(dataDir)) fs::remove(entry.path());
  }
  std::vector<fs::path> DataFiles() const {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(dataDir)) files.push_back(entry.path());
    return files;
  }
  static bool Complete(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string_view error;
    const auto info = ReadDataFile(bytes, error);
    return info && info->Complete();
  }

  // Brings the LCU back and the program on line again.
  void Reconnect() {
    sim->SetFaults({});
    sim->Replug();
    Tick();
    Tick();
  }
  // The LCU's data memory without the status block, whose clock runs on by itself.
  std::vector<std::uint8_t> LoggedMemory() const {
    std::vector<std::uint8_t> memory = sim->DataMemory();
    memory.erase(memory.begin(), memory.begin() + 64);
    return memory;
  }

  std::vector<Command> Commands() {
    return {
        {"main window tick", [this] { Profile(Store()).WriteProfileString(reg::kChannelData, reg::kChannelId, "5"); },
         [this] { Tick(); }, expect::Silent,
         [this]() -> std::string {
           return Value(reg::kChannelData, reg::kChannelValue) == "-1" ? "" : "ChannelValue is not -1";
         }},
        {"monitor window tick",
         [this] {
           if (!monitor) monitor = &WindowWith(Range(3, 18));
         },
         [this] {
           monitorChanges = std::make_unique<QSignalSpy>(&monitor->Model(), &QAbstractItemModel::dataChanged);
           Update(*monitor);
         },
         expect::Silent,
         [this]() -> std::string { return monitorChanges->count() == 0 ? "" : "the window changed its cells"; }},
        {"memory window refresh",
         [this] {
           if (!app->MemoryKind().AddressView()) Choose(gui::cmd::kReadWriteData);
         },
         [this] {
           gui::CAddressView& view = *app->MemoryKind().AddressView();
           memoryChanges = std::make_unique<QSignalSpy>(&view.Model(), &QAbstractItemModel::dataChanged);
           Session().Serve(view.Document());
         },
         expect::Silent,
         [this]() -> std::string { return memoryChanges->count() == 0 ? "" : "the window changed its cells"; }},
        {"memory window write",
         [this] {
           if (!app->MemoryKind().AddressView()) Choose(gui::cmd::kReadWriteData);
           gui::CAddressView& view = *app->MemoryKind().AddressView();
           // Memory no other command reads: the writes must not change the LCU's header.
           view.Document().SetRun(0xF000, view.Document().Range());
           view.clearSelection();
           for (const int row : {2, 5, 9})
             view.selectionModel()->select(view.Model().index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
           prompter->dialogScripts.push_back([](QDialog& dialog) {
             auto& datum = static_cast<gui::CDatumDlg&>(dialog);
             datum.FormatButton(0).click();
             datum.DataBox().setText(QStringLiteral("1F"));
             dialog.accept();
             return true;
           });
         },
         [this] { app->MemoryKind().AddressView()->OnRightClick(); }, expect::MemoryWrite, [] { return std::string(); }},
        {"Download", [this] { PrepareDownload(); }, [this] { Choose(gui::cmd::kDownload); }, expect::Download,
         [this]() -> std::string {
           const auto files = DataFiles();
           const bool complete = files.size() == 1 && Complete(files.front());
           if (!complete && LoggedMemory() != memoryBefore) return "the LCU lost its data";
           if (!complete && Value(reg::kDownloadSection, reg::kFile) != downloadFileBefore)
             return "the registry names a file";
           if (!Frame().findChildren<gui::ProgressDlg*>().isEmpty()) return "the progress dialog stayed open";
           return "";
         }},
        {"Send Config", [this] { prompter->yes = true; }, [this] { Choose(gui::cmd::kSendConfig); }, expect::SendConfig,
         [] { return std::string(); }},
        {"Reset Logbook", [this] { prompter->yes = true; }, [this] { Choose(gui::cmd::kResetLogbook); },
         expect::ResetLogbook, [] { return std::string(); }},
        {"Start Logger", [this] { app->State().m_bLoggerStarted = 0; }, [this] { Choose(gui::cmd::kStartLogger); },
         expect::StartLogger, [] { return std::string(); }},
        {"Stop Logger", [this] { app->State().m_bLoggerStarted = 1; }, [this] { Choose(gui::cmd::kStartLogger); },
         expect::StartLogger, [] { return std::string(); }},
        {"Initialize LCU", [this] { prompter->initAnswer = 1; }, [this] { Choose(gui::cmd::kInitializeLcu); },
         expect::InitializeLcu, [] { return std::string(); }},
        {"Session Data", [this] { prompter->sessionAnswer = SessionDataValues{5, 2, 40, 3}; },
         [this] { Choose(gui::cmd::kSessionData); }, expect::SessionData, [] { return std::string(); }},
        {"Extract Setup", [this] { prompter->yes = true; }, [this] { Choose(gui::cmd::kExtractSetup); },
         expect::ExtractSetup,
         []() -> std::string { return fs::exists(DefaultSetupExtractPath()) ? "the extract was written" : ""; }},
        {"Read Hex File", [] {}, [this] { Choose(gui::cmd::kReadHexFile); }, expect::ReadHexFile,
         []() -> std::string { return fs::exists(DefaultProgramDumpPath()) ? "the dump was written" : ""; }},
        {"LCU Configuration", [] {}, [this] { Choose(gui::cmd::kLcuConfiguration); }, expect::ReadLcu,
         [this]() -> std::string { return prompter->configurations.empty() ? "" : "the dialog opened"; }},
        {"Load Hex File", [this] { prompter->openFileAnswer = QString::fromStdString(hexPath); },
         [this] { Choose(gui::cmd::kLoadHexFile); }, expect::LoadHexFile, [] { return std::string(); }},
    };
  }

  TimerBlocker timers;
  QTemporaryDir m_home;
  std::optional<std::string> m_oldHome;
  std::string dataDir;
  std::string hexPath;
  std::vector<std::uint8_t> memoryBefore;
  std::string downloadFileBefore;
  gui::CMonitorView* monitor = nullptr;
  std::unique_ptr<QSignalSpy> monitorChanges;
  std::unique_ptr<QSignalSpy> memoryChanges;
};

TEST_F(GuiFaultMatrix, EveryTransferOfEveryCommandFailsShortAndUnpluggedInTurn) {
  int cases = 0;
  int passed = 0;
  for (const Command& command : Commands()) {
    command.prepare();
    prompter->messages.clear();
    sim->SetFaults({});
    tap->Clear();
    command.run();
    const std::vector<char> clean = tap->kinds;
    const int transfers = sim->TransferCount();
    ASSERT_GT(transfers, 0) << command.name;
    ASSERT_EQ(static_cast<int>(clean.size()), transfers) << command.name;
    for (std::size_t i = 0; i < prompter->messages.size(); ++i)
      ASSERT_EQ(prompter->kinds[i], MessageKind::kInformation) << command.name << ": " << prompter->messages[i];
    Reconnect();
    int commandCases = 0;
    for (const Fault fault : {Fault::kFail, Fault::kShort, Fault::kUnplug}) {
      for (int k = 1; k <= transfers; ++k) {
        if (fault == Fault::kShort && clean[static_cast<std::size_t>(k - 1)] == 'c') continue;
        ++cases;
        ++commandCases;
        std::vector<std::string> problems;
        const auto check = [&](bool ok, const std::string& what) {
          if (!ok) problems.push_back(what);
        };
        command.prepare();
        fs::remove(DefaultSetupExtractPath());
        fs::remove(DefaultProgramDumpPath());
        memoryBefore = LoggedMemory();
        downloadFileBefore = Value(reg::kDownloadSection, reg::kFile);
        prompter->messages.clear();
        prompter->kinds.clear();
        prompter->configurations.clear();
        sim::FaultPlan plan;
        if (fault == Fault::kFail) plan.failTransfer = k;
        if (fault == Fault::kShort) plan.shortTransfer = k;
        if (fault == Fault::kUnplug) plan.unplugAtTransfer = k;
        sim->SetFaults(plan);
        command.run();
        const Messages expected = command.expected(fault, k);
        check(prompter->messages == expected, "messages " + ::testing::PrintToString(prompter->messages) +
                                                  " instead of " + ::testing::PrintToString(expected));
        check(sim->TransferCount() == k, "it made " + std::to_string(sim->TransferCount()) + " transfers");
        check(!app->Device().m_bOnline && app->Device().m_bBusy == 0, "the link is still open or busy");
        check(OpenFilesIn(dataDir) == 0, "a data file is still open");
        if (const std::string wrong = command.afterFault(); !wrong.empty()) problems.push_back(wrong);

        // With the LCU back, the same program runs the command again.
        Reconnect();
        check(app->Device().m_bOnline == 1, "the program does not find the LCU again");
        command.prepare();
        prompter->messages.clear();
        prompter->kinds.clear();
        const int before = sim->TransferCount();
        command.run();
        check(sim->TransferCount() - before == transfers, "the next run made other transfers");
        for (std::size_t i = 0; i < prompter->messages.size(); ++i)
          check(prompter->kinds[i] == MessageKind::kInformation, "the next run failed: " + prompter->messages[i]);
        Reconnect();

        if (problems.empty()) {
          ++passed;
          continue;
        }
        for (const std::string& problem : problems)
          ADD_FAILURE() << command.name << ", " << FaultName(fault) << " at transfer " << k << ": " << problem;
      }
    }
    std::cout << "  " << command.name << ": " << transfers << " transfers, " << commandCases << " cases\n";
  }
  std::cout << "fault matrix: " << cases << " cases, " << passed << " passed\n";
  EXPECT_EQ(passed, cases);
}

}  // namespace
}  // namespace lcu::test
