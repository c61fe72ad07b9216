// The maintenance commands: the bytes they send and store, their questions and dialogs, the
// settings toggles, and the checks every LCU command makes before it sends anything.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "core/app/messages.h"
#include "core/channels/calibration_file.h"
#include "core/channels/channel_zeroing.h"
#include "core/host/default_paths.h"
#include "core/host/registry.h"
#include "core/logger/configuration_upload.h"
#include "core/logger/maintenance_commands.h"
#include "core/logger/set_lcu_clock.h"
#include "core/util/little_endian.h"
#include "support/command_fixture.h"

namespace lcu {
namespace {

using test::CommandFixture;
using Action = std::function<CommandResult(CommandContext&)>;

std::vector<std::uint8_t> Pattern(std::size_t size, unsigned salt) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>((i * 31 + salt) ^ (i >> 8));
  return bytes;
}

TEST(ResetLogbook, ClearsTheLogbookAndStampsTheResetTime) {
  CommandFixture f;
  f.GoOnline();
  const auto header = Pattern(kLoggerHeaderSize, 9);
  f.Reply(header);
  f.prompter.answers = {true};
  EXPECT_EQ(OnResetLogbook(f.ctx), CommandResult::kDone);
  EXPECT_EQ(f.Sent(), (std::vector<std::string>{"out 45 8000/0", "bulk-in 16384", "out 46 8040/0", "bulk-out 16320"}));
  auto expected = header;
  std::fill(expected.begin() + 0x56, expected.begin() + 0x76, 0);  // logbook counters
  std::fill(expected.begin() + 0x80, expected.begin() + 0x100, 0);
  le::PutU64(expected, 0x88, FileTimeFromLocal(f.clock.now));
  EXPECT_EQ(f.LastWritten(), std::vector<std::uint8_t>(expected.begin() + 64, expected.end()));
  EXPECT_TRUE(f.prompter.messages.empty());
}

TEST(Declined, NoOrCancelSendsNothingMoreAndWritesNoFile) {
  const struct { Action run; std::vector<std::string> sent, questions; } cases[] = {
      {OnResetLogbook, {}, {"Reset engine logbook. Do you want to continue ?"}},
      {[](CommandContext& c) { return OnExtractSetup(c, "x.stp"); }, {},
       {"Extract logger setup. Do you want to continue ?"}},
      {OnInitializeLcu, {}, {}},  // the dialog cancelled
      {OnSessionData, {"in 41 8040/0 64"}, {}},
      {[](CommandContext& c) { return OnSetLcuClock(c); }, {}, {"Set the LCU clock to the computer's time. Do you want to continue ?"}},
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

// Both programs ask first (No is the default), saying when the LCU holds data.
TEST(InitializeLcu, AsksThenWritesTheNumberEntered) {
  for (const auto& [dataPresent, yes, question] : {std::tuple{0u, true, msg::kInitializeLcuContinue},
                                                   std::tuple{1u, false, msg::kInitializeLcuWithData}}) {
    CommandFixture f;
    f.GoOnline();
    f.prompter.initAnswer = 0xABCD;
    f.prompter.answers = {yes};
    SessionBlock session{};
    le::PutU32(session, 0, dataPresent);
    f.Reply(session);
    EXPECT_EQ(OnInitializeLcu(f.ctx), yes ? CommandResult::kDone : CommandResult::kDeclined);
    EXPECT_EQ(f.prompter.questions, std::vector<std::string>{std::string(question)});
    std::vector<std::string> sent = {"in 41 8040/0 64"};
    if (yes) sent.insert(sent.end(), {"out 46 8000/0", "bulk-out 64"});
    EXPECT_EQ(f.Sent(), sent);
    std::vector<std::uint8_t> block(64, 0);
    block[2] = 2;
    le::PutU16(block, 4, 0xABCD);
    EXPECT_EQ(f.LastWritten(), yes ? block : std::vector<std::uint8_t>{});
  }
}

TEST(ValidateInitLcuNumber, AcceptsIntegersFromZeroTo65535) {
  const std::string notInteger(msg::kEnterInteger), outOfRange(msg::kEnterIntegerInLcuRange);
  const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {
      {"0", std::nullopt},  {"65535", std::nullopt}, {" 17 ", std::nullopt}, {"+5", std::nullopt},
      {"65536", outOfRange}, {"-1", outOfRange},      {"99999999999999999999", outOfRange},
      {"", notInteger},     {"abc", notInteger},     {"12a", notInteger},    {"1 2", notInteger},  {"0x10", notInteger}};
  for (const auto& [text, expected] : cases) EXPECT_EQ(ValidateInitLcuNumber(text), expected) << '"' << text << '"';
}

SessionBlock ExampleSessionBlock() {
  SessionBlock block{};
  std::ranges::copy(Pattern(block.size(), 1), block.begin());
  le::PutU16(block, 0x0A, 7);   // laps since the reset (header 0x4A)
  le::PutU16(block, 0x0C, 4);   // session (0x4C)
  le::PutU16(block, 0x0E, 1);   // outing (0x4E)
  le::PutU16(block, 0x10, 20);  // lap base (0x50)
  le::PutU16(block, 0x3C, 3);   // pace laps (0x7C)
  return block;
}

// A value the session block cannot hold as entered is refused with its range and nothing is
// written; a lap count below the laps since the reset + 1 still stores a lap base of 0.
TEST(SessionData, RefusesWhatTheBlockCannotHoldAndReportsWhatItStored) {
  const struct { SessionDataValues entered; const char* refusal; SessionDataValues stored; } cases[] = {
      {{0, 2, 28, 3}, "Please enter an integer between 1 and 65536.", {}},
      {{5, 65537, 28, 3}, "Please enter an integer between 1 and 65536.", {}},
      {{5, 2, 65536 + 8, 3}, "Please enter an integer between 0 and 65543.", {}},
      {{5, 2, -1, 3}, "Please enter an integer between 0 and 65543.", {}},
      {{5, 2, 28, 65536}, "Please enter an integer between 0 and 65535.", {}},
      {{65536, 1, 65536 + 7, 65535}, nullptr, {65536, 1, 65536 + 7, 65535}},
      {{1, 1, 3, 0}, nullptr, {1, 1, 8, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entered.lapCount);
    CommandFixture f;
    f.GoOnline();
    f.Reply(ExampleSessionBlock());
    f.prompter.sessionAnswer = c.entered;
    SessionDataValues stored;
    EXPECT_EQ(EditSessionData(f.ctx, &stored), c.refusal ? CommandResult::kFailed : CommandResult::kDone);
    if (c.refusal) {
      EXPECT_EQ(f.prompter.messages, std::vector<std::string>{c.refusal});
      EXPECT_EQ(f.Sent(), std::vector<std::string>{"in 41 8040/0 64"});
    } else {
      EXPECT_TRUE(f.prompter.messages.empty());
      EXPECT_EQ(stored, c.stored);
    }
  }
}

TEST(SessionBlockAfterUpdate, ClampsNegativesAndKeepsTheLow16Bits) {
  const SessionBlock block = ExampleSessionBlock();
  struct Case { SessionDataValues entered; std::uint16_t session, outing, lapBase, paceLaps; };
  const std::vector<Case> cases = {
      {{5, 2, 28, 3}, 4, 1, 20, 3},
      {{0, 0, 0, 0}, 0, 0, 0, 0},  // Session 0 stores 0, not 65535
      {{6, 3, 5, 70000}, 5, 2, 0, 4464},        // lap count below laps + 1; pace laps cut to 16 bits
      {{65537, 1, 65536 + 8, INT32_MIN}, 0, 0, 0, 0},  // 65536 and a lap base of 65536 wrap to 0
      {{INT32_MAX, 1, INT32_MAX, INT32_MAX}, 0xFFFE, 0, 0xFFF7, 0xFFFF},
  };
  for (const Case& c : cases) {
    SessionBlock expected = block;
    le::PutU16(expected, 0x0C, c.session);
    le::PutU16(expected, 0x0E, c.outing);
    le::PutU16(expected, 0x10, c.lapBase);
    le::PutU16(expected, 0x3C, c.paceLaps);
    EXPECT_EQ(SessionBlockAfterUpdate(block, c.entered), expected) << c.entered.session << ' ' << c.entered.lapCount;
  }
  SessionBlock full{};
  full.fill(0xFF);
  EXPECT_EQ(SessionValuesOf(full), (SessionDataValues{65536, 65536, 131071, 65535}));
}

// Off line the write fails, but the state follows the command all the same.
TEST(StartLogger, AlternatesTheStartWordAndFollowsTheOfflineReset) {
  CommandFixture f;
  EXPECT_EQ(OnStartLogger(f.ctx), CommandResult::kFailed);
  EXPECT_EQ(f.prompter.messages, std::vector<std::string>{"Failed to write data to LCU.\nThe handle is invalid."});
  EXPECT_EQ(f.ui.flags[AppFlag::kLoggerStarted], true);
  f.GoOnline();
  EXPECT_EQ(OnStartLogger(f.ctx), CommandResult::kDone);
  EXPECT_EQ(f.ui.flags[AppFlag::kLoggerStarted], false);
  EXPECT_EQ(OnStartLogger(f.ctx), CommandResult::kDone);
  ResetLoggerStarted(f.ctx);  // the next start starts
  EXPECT_EQ(OnStartLogger(f.ctx), CommandResult::kDone);
  EXPECT_EQ(f.Sent(), (std::vector<std::string>{"out 44 F752/0", "out 44 F752/80", "out 44 F752/80"}));
}

// Any value but 0 counts as on; nothing reaches the LCU. Which flag and setting each menu
// item toggles is the menu's test.
TEST(SettingsToggles, FlipTheFlagTellTheWindowAndStoreTheSetting) {
  CommandFixture f;
  for (const std::int32_t expected : {1, 0}) {
    EXPECT_EQ(OnProtectData(f.ctx), CommandResult::kDone);
    EXPECT_EQ(f.app.m_bPreserveBuffer, expected);
    EXPECT_EQ(f.ui.flagCalls.back(), std::make_pair(AppFlag::kProtectData, expected == 1));
    EXPECT_EQ(f.store.ReadValue("Corvalent\\Settings", "Preserve Buffer"), std::to_string(expected));
  }
  f.app.m_bPreserveBuffer = 5;
  OnProtectData(f.ctx);
  EXPECT_EQ(f.app.m_bPreserveBuffer, 0);
  EXPECT_TRUE(f.backend.calls.empty());
}

// Off line each command shows its own form of the message (LCU Configuration's and Load Hex
// File's are the menu's test); while a download runs, every one is refused. Neither asks,
// opens a dialog, sends or writes anything.
TEST(LcuCommands, RefusedOfflineAndWhileADownloadRuns) {
  // Each LCU command, answering Yes and accepting every dialog.
  struct LcuCommand { const char* name; Action run; std::string_view offline; };
  const std::vector<LcuCommand> commands = {
      {"ReadHexFile", [](CommandContext& c) { return OnReadHexFile(c, "dump.bin"); }, "LCU is off-line"},
      {"ResetLogbook", OnResetLogbook, "LCU is off-line."},
      {"ExtractSetup", [](CommandContext& c) { return OnExtractSetup(c, "x.stp"); }, "LCU is off-line."},
      {"InitializeLcu", OnInitializeLcu, "LCU is off-line."},
      {"SessionData", OnSessionData, "LCU is off-line"},
      {"SendConfig", OnSendConfig, "LCU is off-line"},
      {"SetLcuClock", [](CommandContext& c) { return OnSetLcuClock(c); }, "LCU is off-line."},
      {"StartLogger", OnStartLogger, ""},  // off line it follows the flag; see above
  };
  for (const bool online : {false, true}) {
    for (const LcuCommand& command : commands) {
      if (!online && command.offline.empty()) continue;
      CommandFixture f;
      if (online) f.GoOnline();
      f.prompter.answers = {true, true};
      f.prompter.initAnswer = 17;
      f.prompter.sessionUnchanged = true;
      f.app.m_bDownloadRunning = online ? 1 : 0;
      EXPECT_EQ(command.run(f.ctx), CommandResult::kFailed) << command.name;
      EXPECT_EQ(f.prompter.messages, std::vector<std::string>{std::string(online ? msg::kDownloadInProgress : command.offline)})
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
  struct Case { const char* name; std::string path; Action run; std::string_view onCreate, onWrite; unsigned sent; };
  const std::vector<Case> cases = {
      {"ReadHexFile", "out", [](CommandContext& c) { return OnReadHexFile(c, "out"); },
       msg::kFailedToCreateOutputFile, msg::kFailedToWriteOutputFile, 2},
      {"ExtractSetup", "out", [](CommandContext& c) { return OnExtractSetup(c, "out"); },
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
      ASSERT_NE(f.files.Committed(c.path), nullptr);
      EXPECT_EQ(f.files.Committed(c.path)->bytes, old);
      EXPECT_EQ(f.Sent().size(), c.sent) << "sent after the failed save";
      EXPECT_EQ(f.prompter.messages, std::vector<std::string>{FormatSystemError(
                                         fault == FileFault::kCreate ? c.onCreate : c.onWrite, c.path + ": " + reason)});
    }
  }
}

}  // namespace
}  // namespace lcu
