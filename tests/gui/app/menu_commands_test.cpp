// The LCU commands of the main menu, one wiring case each: a transfer failing part way shows
// the command's messages (which ones is the core's fault matrix), closes the link, leaves no
// progress dialog and no file behind, and the LCU comes back on line.
#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QObject>
#include <QStatusBar>

#include <filesystem>
#include <fstream>
#include <functional>

#include "core/commands/hex_file_upload.h"
#include "core/commands/lcu_configuration.h"
#include "core/commands/maintenance_blocks.h"
#include "core/host/default_paths.h"
#include "core/logger/logger_header.h"
#include "core/messages/messages.h"
#include "core/util/little_endian.h"
#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"
#include "gui/logger/progress_dlg.h"
#include "gui_fixture.h"
#include "support/command_fault_messages.h"
#include "support/hex_text.h"

namespace lcu::test {
namespace {

namespace fs = std::filesystem;
namespace expect = fault_messages;
using gui::ToQString;

// The test polls itself: no timer may add a poll while a command lets messages through.
class TimerBlocker : public QObject {
 protected:
  bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::Timer; }
};

class MenuCommands : public GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    // Extract Setup and Read Hex File write to fixed paths below the home folder.
    m_oldHome = qgetenv("HOME");
    qputenv("HOME", FilePath("").toLocal8Bit());
    fs::create_directories(fs::path(DefaultSetupExtractPath()).parent_path());
    QCoreApplication::instance()->installEventFilter(&m_timers);
  }
  void TearDown() override {
    QCoreApplication::instance()->removeEventFilter(&m_timers);
    GuiFixture::TearDown();
    qputenv("HOME", m_oldHome);
  }

  TimerBlocker m_timers;
  QByteArray m_oldHome;
};

TEST_F(MenuCommands, AFailureHalfWayThroughEachCommandReachesTheUser) {
  StartOnLine();
  prompter->passwordEntries = {ToQString(gui::text::kServicePassword1)};
  Choose(gui::cmd::kPassword);
  const std::string dataDir = DataDirectory(Store());
  const std::string hexPath = FilePath("firmware.hex").toStdString();
  std::ofstream(hexPath) << HexRecords(0x2000, std::vector<std::uint8_t>(256, 0x5A), {16}) << HexEndRecord() << "\n";
  const struct {
    const char* name;
    int id;
    std::function<void()> prepare;
    Messages (*expected)(Fault, int);
  } commands[] = {
      {"Download", gui::cmd::kDownload,
       [&] {
         std::vector<std::uint8_t> memory = sim->DataMemory();
         PrepareFaultDownload(memory);
         sim->WriteDataMemory(0, memory);
         for (const auto& entry : fs::directory_iterator(dataDir)) fs::remove(entry.path());
       },
       expect::Download},
      {"Send Config", gui::cmd::kSendConfig, [] {}, expect::SendConfig},
      {"Reset Logbook", gui::cmd::kResetLogbook, [] {}, expect::ResetLogbook},
      {"Start Logger", gui::cmd::kStartLogger, [&] { app->State().m_bLoggerStarted = 0; }, expect::StartLogger},
      {"Stop Logger", gui::cmd::kStartLogger, [&] { app->State().m_bLoggerStarted = 1; }, expect::StartLogger},
      {"Initialize LCU", gui::cmd::kInitializeLcu, [&] { prompter->initAnswer = 1; }, expect::InitializeLcu},
      {"Session Data", gui::cmd::kSessionData,
       [&] {
         prompter->sessionAnswer = SessionDataValues{5, 2, 40, 3};
       },
       expect::SessionData},
      {"Extract Setup", gui::cmd::kExtractSetup, [] {}, expect::ExtractSetup},
      {"Read Hex File", gui::cmd::kReadHexFile, [] {}, expect::ReadHexFile},
      {"LCU Configuration", gui::cmd::kLcuConfiguration, [] {}, expect::ReadLcu},
      {"Load Hex File", gui::cmd::kLoadHexFile, [&] { prompter->openFileAnswer = QString::fromStdString(hexPath); },
       expect::LoadHexFile},
  };
  for (const auto& c : commands) {
    SCOPED_TRACE(c.name);
    c.prepare();
    prompter->answers = {true, true};  // Yes to every question
    prompter->messages.clear();
    prompter->kinds.clear();
    const int transfers = TransfersOf([&] { Choose(c.id); });
    ASSERT_GT(transfers, 0);
    for (const MessageKind kind : prompter->kinds) EXPECT_EQ(kind, MessageKind::kInformation);

    const int k = (transfers + 1) / 2;
    c.prepare();
    prompter->answers = {true, true};
    fs::remove(DefaultSetupExtractPath());
    fs::remove(DefaultProgramDumpPath());
    const std::string downloadFile = Value(reg::kDownloadSection, reg::kFile);
    prompter->messages.clear();
    prompter->configurations.clear();
    sim->SetFaults({.failTransfer = k});
    Choose(c.id);
    EXPECT_EQ(prompter->messages, expect::WithDataFilePath(c.expected(Fault::kFail, k), app->State().m_szDownloadFile))
        << "failing at transfer " << k;
    EXPECT_FALSE(app->Device().IsOnline());
    EXPECT_FALSE(app->Device().IsBusy() || app->Link().IsCommandRunning());
    EXPECT_TRUE(Frame().findChildren<gui::ProgressDlg*>().isEmpty());
    EXPECT_TRUE(prompter->configurations.empty());
    EXPECT_FALSE(fs::exists(DefaultSetupExtractPath()));
    EXPECT_FALSE(fs::exists(DefaultProgramDumpPath()));
    EXPECT_EQ(Value(reg::kDownloadSection, reg::kFile), downloadFile);

    sim->SetFaults({});
    Replug(2);
    ASSERT_TRUE(app->Device().IsOnline());
  }
}

// A finished download tells in the status bar which file it saved, how large it is and
// whether the LCU was emptied: cut to the room left of the panes in a small window, whole in
// a wide one and in the bar's tooltip, until another message takes its place.
TEST_F(MenuCommands, AFinishedDownloadShowsItsFileInTheStatusBar) {
  StartOnLine();
  QStatusBar& bar = *Frame().statusBar();
  for (const bool protect : {false, true}) {
    SCOPED_TRACE(protect ? "Protect Data on" : "Protect Data off");
    std::vector<std::uint8_t> memory = sim->DataMemory();
    PrepareFaultDownload(memory);
    sim->WriteDataMemory(0, memory);
    app->State().m_bPreserveBuffer = protect ? 1 : 0;
    prompter->messages.clear();
    Frame().resize(600, 400);
    Choose(gui::cmd::kDownload);
    EXPECT_TRUE(prompter->messages.empty()) << prompter->messages.front();
    const fs::path file = Value(reg::kDownloadSection, reg::kFile);
    ASSERT_TRUE(fs::exists(file));
    const QString whole =
        QString::fromStdString(file.filename().string() + " downloaded, " + std::to_string(fs::file_size(file)) +
                               " bytes" + (protect ? "; the LCU still holds the data." : "; the LCU was emptied."));
    EXPECT_EQ(bar.toolTip(), whole);
    const QFontMetrics metrics(bar.font());
    ASSERT_LT(metrics.horizontalAdvance(whole), 600);  // the wide window below shows it whole
    for (const int width : {600, 1000, 450}) {
      Frame().resize(width, 400);
      QCoreApplication::processEvents();
      const QString shown = bar.currentMessage();
      EXPECT_LE(metrics.horizontalAdvance(shown), Frame().ResultRoom()) << width;
      if (Frame().ResultRoom() >= metrics.horizontalAdvance(whole)) {
        EXPECT_EQ(shown, whole) << width;
      } else {
        EXPECT_TRUE(shown.endsWith(QChar(0x2026)) && whole.startsWith(shown.chopped(1))) << shown.toStdString();
      }
    }
    EXPECT_EQ(bar.currentMessage(), metrics.elidedText(whole, Qt::ElideRight, Frame().ResultRoom()));
  }
  bar.showMessage("Enter password");
  EXPECT_TRUE(bar.toolTip().isEmpty());
}

TEST_F(MenuCommands, OffLineCommandsRefuseBeforeTheirDialogs) {
  Start();
  Choose(gui::cmd::kLcuConfiguration);
  Choose(gui::cmd::kLoadHexFile);
  EXPECT_EQ(prompter->messages,
            (std::vector<std::string>{std::string(msg::kLcuOfflineDot), std::string(msg::kLcuOffline)}));
  EXPECT_TRUE(prompter->configurations.empty());
  EXPECT_TRUE(prompter->fileDialogs.empty());

  Tick();
  Tick();
  prompter->messages.clear();
  EXPECT_EQ(TransfersOf([&] { Choose(gui::cmd::kLoadHexFile); }), 0) << "cancelled: nothing is sent";
  ASSERT_EQ(prompter->fileDialogs.size(), 1U);
  EXPECT_EQ(prompter->fileDialogs[0].title, ToQString(kLoadHexFileDialogTitle));
  EXPECT_EQ(prompter->fileDialogs[0].filter, ToQString(kLoadHexFileDialogFilter));
  EXPECT_EQ(prompter->fileDialogs[0].folder.toStdString(), VelmoraRoot());
  Choose(gui::cmd::kLcuConfiguration);
  ASSERT_EQ(prompter->configurations.size(), 1U);
  EXPECT_EQ(prompter->configurations[0][kSerialRow], "1");
  EXPECT_TRUE(prompter->messages.empty());
}

// Initialize LCU asks as lcu init does, after its dialog: No (the default) keeps the status
// block; Yes replaces it.
TEST_F(MenuCommands, InitializeLcuAsksBeforeItReplacesTheStatusBlock) {
  StartOnLine();
  prompter->passwordEntries = {ToQString(gui::text::kServicePassword1)};
  Choose(gui::cmd::kPassword);
  const auto lcuNumber = [&] { return le::U16(sim->DataMemory(), hdr::kLcuNumber); };
  const std::uint16_t before = lcuNumber();
  prompter->initAnswer = 4321;
  Choose(gui::cmd::kInitializeLcu);
  ASSERT_EQ(prompter->questions.size(), 1u);
  EXPECT_TRUE(prompter->questions[0] == msg::kInitializeLcuContinue ||
              prompter->questions[0] == msg::kInitializeLcuWithData)
      << prompter->questions[0];
  EXPECT_EQ(lcuNumber(), before);
  prompter->answers = {true};
  Choose(gui::cmd::kInitializeLcu);
  EXPECT_EQ(lcuNumber(), 4321);
}

}  // namespace
}  // namespace lcu::test
