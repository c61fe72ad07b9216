// Fault matrix of the maintenance commands and the configuration display: each transfer
// fails in turn, each bulk transfer comes up short, and each saved file meets a refused
// create, a full disk and a failed commit. Every case shows the command's own message,
// sends nothing after the failure, leaves no committed file (or the old one as it was), and
// the next poll reconnects.
#include <gtest/gtest.h>

#include <functional>

#include "core/app/messages.h"
#include "core/channels/channel_zeroing.h"
#include "core/host/default_paths.h"
#include "core/logger/lcu_configuration.h"
#include "core/logger/maintenance_commands.h"
#include "support/command_fixture.h"

namespace lcu {
namespace {

using test::CommandFixture;

const std::string kDeviceText = "A device attached to the system is not functioning.";

std::string System(std::string_view caption, std::string_view text = kDeviceText) {
  return FormatSystemError(caption, text);
}

struct Fault {
  int transfer;
  bool shortTransfer;
  std::string message;
};

struct FaultCase {
  const char* name;
  std::function<CommandResult(CommandContext&)> run;
  std::vector<Fault> faults;
};

std::vector<FaultCase> Cases() {
  const std::string shortRead = System(msg::kFailedToReadLogger, msg::kShortTransferText);
  const std::string reset = System(msg::kFailedToResetLogbook), header = System(msg::kFailedToReadHeader);
  const std::string lcu = System(msg::kFailedToReadLcu);
  const std::string init = System(msg::kFailedToInitializeLcu), update = System(msg::kFailedToUpdateSessionData);
  return {
      {"ReadHexFile", [](CommandContext& c) { return OnReadHexFile(c, "dump.bin"); },
       {{1, false, System(msg::kFailedToSendCommand)}, {2, false, System(msg::kFailedToReadLogger)}, {2, true, shortRead}}},
      {"ResetLogbook", OnResetLogbook,
       {{1, false, reset}, {2, false, reset}, {2, true, System(msg::kFailedToResetLogbook, msg::kShortTransferText)},
        {3, false, reset}, {4, false, reset}, {4, true, System(msg::kFailedToResetLogbook, msg::kShortTransferText)}}},
      {"ExtractSetup", [](CommandContext& c) { return OnExtractSetup(c, "x.stp"); },
       {{1, false, header}, {2, false, header}, {2, true, System(msg::kFailedToReadHeader, msg::kShortTransferText)}}},
      {"InitializeLcu", OnInitializeLcu,
       {{1, false, init}, {2, false, init}, {2, true, System(msg::kFailedToInitializeLcu, msg::kShortTransferText)}}},
      {"SessionData", OnSessionData,
       {{1, false, System(msg::kFailedToReadSessionData)}, {2, false, update}, {3, false, update},
        {3, true, System(msg::kFailedToUpdateSessionData, msg::kShortTransferText)}}},
      {"StartLogger", OnStartLogger, {{1, false, System(msg::kFailedToWriteDataToLcu)}}},
      {"LcuConfiguration",
       [](CommandContext& c) { return CLcuConfg(c).IsReady() ? CommandResult::kDone : CommandResult::kFailed; },
       {{1, false, lcu}, {2, false, lcu}}},
  };
}

TEST(FaultMatrix, EachTransferFailingInTurn) {
  for (const FaultCase& c : Cases()) {
    for (const Fault& fault : c.faults) {
      SCOPED_TRACE(std::string(c.name) + " transfer " + std::to_string(fault.transfer) + (fault.shortTransfer ? " short" : ""));
      CommandFixture f;
      f.GoOnline();
      f.prompter.answers = {true};
      f.prompter.initAnswer = 17;
      f.prompter.sessionUnchanged = true;
      if (fault.shortTransfer)
        f.ShortTransfer(fault.transfer);
      else
        f.FailTransfer(fault.transfer);
      EXPECT_EQ(c.run(f.ctx), CommandResult::kFailed);
      EXPECT_EQ(f.prompter.messages, std::vector<std::string>{fault.message});
      EXPECT_EQ(f.Sent().size(), static_cast<std::size_t>(fault.transfer));
      for (const auto& [path, file] : f.files.files) EXPECT_FALSE(file.committed) << path;
      EXPECT_EQ(f.device.m_bOnline, 0);
      f.device.PollStatus();
      EXPECT_EQ(f.device.m_bOnline, 1);
    }
  }
}

enum class FileFault { kNone, kCreate, kDiskFull, kCommit };

// Every save of a file that may already exist: a refused create, a full disk and a failed
// commit each leave the old file byte for byte and no replacement behind, and are reported
// with the command's message, the path and the reason.
TEST(FaultMatrix, SavesThatFailLeaveTheOldFile) {
  struct Case {
    const char* name;
    std::string path;
    std::function<CommandResult(CommandContext&)> run;
    std::size_t size;
    std::string_view notCreated, notWritten;
    std::size_t transfers;
  };
  const std::vector<Case> cases = {
      {"ReadHexFile", "out", [](CommandContext& c) { return OnReadHexFile(c, "out"); }, kProgramMemorySize,
       msg::kFailedToCreateOutputFile, msg::kFailedToWriteOutputFile, 2},
      {"ExtractSetup", "out", [](CommandContext& c) { return OnExtractSetup(c, "out"); }, kLoggerHeaderSize,
       msg::kFailedToOpenOutputFile, msg::kFailedToWriteHeaderToOutputFile, 2},
      {"Zeroing", JoinPath("setup", "@LCU1.cal"), [](CommandContext& c) { return ZeroChannels(c, {}, 0.0f); },
       kLoggerHeaderSize, msg::kFailedToSaveCalibrationFile, msg::kFailedToSaveCalibrationFile, 0},
  };
  const std::vector<std::uint8_t> old(100, 0xAB);
  for (const Case& c : cases) {
    for (const FileFault fault : {FileFault::kNone, FileFault::kCreate, FileFault::kDiskFull, FileFault::kCommit}) {
      SCOPED_TRACE(std::string(c.name) + " fault " + std::to_string(static_cast<int>(fault)));
      CommandFixture f;
      f.GoOnline();
      f.store.WriteString("Paths", "SetupDirectory", "setup");
      f.prompter.answers = {true};
      f.files.Put(c.path, old);
      if (fault == FileFault::kCreate) f.files.failCreate.insert(c.path);
      if (fault == FileFault::kDiskFull) f.files.spaceLeft = 1000;
      if (fault == FileFault::kCommit) f.files.failCommit = true;
      const CommandResult result = c.run(f.ctx);
      EXPECT_EQ(f.files.files.size(), 1u) << "a replacement was left behind";
      ASSERT_NE(f.files.Committed(c.path), nullptr);
      if (fault == FileFault::kNone) {
        EXPECT_EQ(f.files.Committed(c.path)->bytes.size(), c.size);
        continue;
      }
      EXPECT_EQ(result, CommandResult::kFailed);
      EXPECT_EQ(f.Sent().size(), c.transfers) << "sent after the failed save";
      EXPECT_EQ(f.files.Committed(c.path)->bytes, old);
      const std::string reason = fault == FileFault::kCreate     ? "Permission denied"
                                 : fault == FileFault::kDiskFull ? "No space left on device"
                                                                 : "Input/output error";
      EXPECT_EQ(f.prompter.messages, std::vector<std::string>{FormatSystemError(
                                         fault == FileFault::kCreate ? c.notCreated : c.notWritten, c.path + ": " + reason)});
    }
  }
}

}  // namespace
}  // namespace lcu
