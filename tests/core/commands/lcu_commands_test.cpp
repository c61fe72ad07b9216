// What the LCU commands share: No or Cancel sends nothing more, the refusals before anything
// is sent (off line, a download running), and saves of an output file that fail.
#include <gtest/gtest.h>

#include <functional>

#include "core/channels/calibration_file.h"
#include "core/commands/channel_zeroing.h"
#include "core/commands/edit_session_data.h"
#include "core/commands/extract_setup.h"
#include "core/commands/initialize_lcu.h"
#include "core/commands/read_program.h"
#include "core/commands/reset_logbook.h"
#include "core/commands/send_config.h"
#include "core/commands/set_lcu_clock.h"
#include "core/commands/start_logger.h"
#include "core/host/default_paths.h"
#include "core/host/registry.h"
#include "core/messages/messages.h"
#include "support/command_fixture.h"
#include "support/download_pause.h"

namespace lcu {
namespace {

using test::CommandFixture;
using Action = std::function<CommandResult(CommandContext&)>;

TEST(Declined, NoOrCancelSendsNothingMoreAndWritesNoFile) {
  const struct {
    Action run;
    std::vector<std::string> sent, questions;
  } cases[] = {
      {[](CommandContext& c) { return ResetLogbook(c).result; },
       {},
       {"Reset engine logbook. Do you want to continue ?"}},
      {[](CommandContext& c) { return ExtractSetup(c, "x.stp").result; },
       {},
       {"Extract logger setup. Do you want to continue ?"}},
      {[](CommandContext& c) { return InitializeLcu(c).result; }, {}, {}},  // the dialog cancelled
      {[](CommandContext& c) { return EditSessionData(c).result; }, {"in 41 8040/0 64"}, {}},
      {[](CommandContext& c) { return SetLcuClock(c).result; },
       {},
       {"Set the LCU clock to the computer's time. Do you want to continue ?"}},
  };
  for (const auto& c : cases) {
    CommandFixture f;
    f.GoOnline();
    EXPECT_EQ(c.run(f.ctx), CommandResult::kDeclined);
    EXPECT_EQ(f.Sent(), c.sent);
    EXPECT_EQ(f.prompter.questions, c.questions);
    EXPECT_TRUE(f.files.files.empty() && f.prompter.messages.empty());
  }
}

// Off line each command shows its own form of the message (LCU Configuration's and Load Hex
// File's are the menu's test); while a download runs, every one is refused. Neither asks,
// opens a dialog, sends or writes anything.
TEST(LcuCommands, RefusedOfflineAndWhileADownloadRuns) {
  // Each LCU command, answering Yes and accepting every dialog.
  struct LcuCommand {
    const char* name;
    Action run;
    std::string_view offline;
  };
  const std::vector<LcuCommand> commands = {
      {"ReadHexFile", [](CommandContext& c) { return ReadProgram(c, "dump.bin").result; }, "LCU is off-line"},
      {"ResetLogbook", [](CommandContext& c) { return ResetLogbook(c).result; }, "LCU is off-line."},
      {"ExtractSetup", [](CommandContext& c) { return ExtractSetup(c, "x.stp").result; }, "LCU is off-line."},
      {"InitializeLcu", [](CommandContext& c) { return InitializeLcu(c).result; }, "LCU is off-line."},
      {"SessionData", [](CommandContext& c) { return EditSessionData(c).result; }, "LCU is off-line"},
      {"SendConfig", [](CommandContext& c) { return SendConfig(c).result; }, "LCU is off-line"},
      {"SetLcuClock", [](CommandContext& c) { return SetLcuClock(c).result; }, "LCU is off-line."},
      {"StartLogger", [](CommandContext& c) { return StartLogger(c, true).result; },
       ""},  // off line it follows the state
  };
  for (const bool online : {false, true}) {
    for (const LcuCommand& command : commands) {
      if (!online && command.offline.empty()) continue;
      CommandFixture f;
      if (online) f.GoOnline();
      f.prompter.answers = {true, true};
      f.prompter.initAnswer = 17;
      f.prompter.sessionUnchanged = true;
      // On line, the command comes from the events a running download lets through.
      if (online)
        test::InsideDownloadPause(f.link,
                                  [&] { EXPECT_EQ(command.run(f.ctx), CommandResult::kFailed) << command.name; });
      else
        EXPECT_EQ(command.run(f.ctx), CommandResult::kFailed) << command.name;
      EXPECT_EQ(f.prompter.messages,
                std::vector<std::string>{std::string(online ? msg::kDownloadInProgress : command.offline)})
          << command.name;
      EXPECT_TRUE(f.prompter.questions.empty() && f.prompter.initDialogs == 0 && f.prompter.sessionShown.empty());
      EXPECT_TRUE(f.backend.calls.size() == f.callsBefore && f.files.files.empty()) << command.name;
      EXPECT_EQ(f.app.m_bLoggerStarted, 0);
    }
  }
}

enum class FileFault { kCreate, kDiskFull, kCommit };

// A refused create, a full disk and a failed commit each leave the old file whole and no
// replacement behind, and are reported with the command's message, the path and the reason.
TEST(FaultMatrix, SavesThatFailLeaveTheOldFile) {
  struct Case {
    const char* name;
    std::string path;
    Action run;
    std::string_view onCreate, onWrite;
    unsigned sent;
  };
  const std::vector<Case> cases = {
      {"ReadHexFile", "out", [](CommandContext& c) { return ReadProgram(c, "out").result; },
       msg::kFailedToCreateOutputFile, msg::kFailedToWriteOutputFile, 2},
      {"ExtractSetup", "out", [](CommandContext& c) { return ExtractSetup(c, "out").result; },
       msg::kFailedToOpenOutputFile, msg::kFailedToWriteHeaderToOutputFile, 2},
      {"Zeroing", JoinPath("setup", "@LCU1.cal"), [](CommandContext& c) { return ZeroChannels(c, {}, 0.0f); },
       msg::kFailedToSaveCalibrationFile, msg::kFailedToSaveCalibrationFile, 0},
  };
  const std::vector<std::uint8_t> old(100, 0xAB);
  for (const Case& c : cases) {
    for (const auto& [fault, reason] : {std::pair{FileFault::kCreate, "Permission denied"},
                                        std::pair{FileFault::kDiskFull, "No space left on device"},
                                        std::pair{FileFault::kCommit, "Input/output error"}}) {
      SCOPED_TRACE(std::string(c.name) + ": " + reason);
      CommandFixture f;
      f.GoOnline();
      f.store.WriteString("Paths", "SetupDirectory", "setup");
      f.store.WriteString(SlotKey(1), "Serial", std::to_string(StatusLcuNumber(f.device)));
      f.prompter.answers = {true};
      f.files.Put(c.path, old);
      if (fault == FileFault::kCreate) f.files.failCreate.insert(c.path);
      if (fault == FileFault::kDiskFull) f.files.spaceLeft = 1000;
      if (fault == FileFault::kCommit) f.files.failCommit = true;
      EXPECT_EQ(c.run(f.ctx), CommandResult::kFailed);
      EXPECT_EQ(f.files.files.size(), 1u) << "a replacement was left behind";
      const test::MemoryFileRecord* kept = f.files.Committed(c.path);
      ASSERT_NE(kept, nullptr);
      EXPECT_EQ(kept->bytes, old);
      EXPECT_EQ(f.Sent().size(), c.sent) << "sent after the failed save";
      EXPECT_EQ(f.prompter.messages,
                std::vector<std::string>{
                    FormatSystemError(fault == FileFault::kCreate ? c.onCreate : c.onWrite, c.path + ": " + reason)});
    }
  }
}

}  // namespace
}  // namespace lcu
