// Send Config: the calibration file it needs, the questions it asks, and what it reports
// having sent. The upload itself is the configuration upload's test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/channels/calibration_file.h"
#include "core/commands/send_config.h"
#include "core/host/default_paths.h"
#include "core/host/prompter.h"
#include "core/host/registry.h"
#include "core/logger/logger_header.h"
#include "core/messages/messages.h"
#include "support/command_fixture.h"
#include "support/temp_folder.h"

namespace lcu {
namespace {

class SendConfigTest : public ::testing::Test {
 protected:
  SendConfigTest() { f.GoOnline(); }

  test::CommandFixture f;
};

// No to "LCU contains data" is lcu send-config's test.
TEST_F(SendConfigTest, NeedsTheCalibrationFileAndAsksWhileLogging) {
  f.store.WriteString("Paths", "SetupDirectory", "/nonexistent-folder-of-lcu-tests");
  f.store.WriteString(SlotKey(1), "Serial", std::to_string(StatusLcuNumber(f.device)));
  EXPECT_EQ(SendConfig(f.ctx).result, CommandResult::kFailed);
  EXPECT_EQ(f.prompter.messages,
            std::vector<std::string>{FormatSystemError(
                "Could not read calibration file",
                JoinPath("/nonexistent-folder-of-lcu-tests", "@LCU1.cal") + ": No such file or directory")});

  f.backend.Reply({0x01});  // logging state byte
  EXPECT_EQ(SendConfig(f.ctx).result, CommandResult::kDeclined);
  EXPECT_EQ(f.prompter.questions, std::vector<std::string>{"Logging in progress. Do you want to continue ?"});
  EXPECT_TRUE(f.LastWritten().empty());
  EXPECT_FALSE(f.store.ReadValue("Corvalent\\ChannelData", "ConfigStamp"));
}

// The LCU has no file of its own: Send Config names both LCUs and asks before it even reads
// the other file; Yes goes on as usual.
TEST_F(SendConfigTest, AsksBeforeItSendsAnotherLcusCalibration) {
  f.store.WriteString("Paths", "SetupDirectory", "/nonexistent-folder-of-lcu-tests");
  f.store.WriteString(SlotKey(1), "Serial", "5");
  f.store.WriteString(SlotKey(2), "Serial", std::to_string(StatusLcuNumber(f.device)));
  const std::string question = "LCU " + std::to_string(StatusLcuNumber(f.device)) +
                               " has no calibration file (@LCU2.cal); use the calibration of LCU 5 (@LCU1.cal)?";
  EXPECT_EQ(SendConfig(f.ctx).result, CommandResult::kDeclined);
  EXPECT_EQ(f.prompter.questions, std::vector<std::string>{question});
  EXPECT_TRUE(f.prompter.messages.empty());
  f.prompter.answers = {true};
  EXPECT_EQ(SendConfig(f.ctx).result, CommandResult::kFailed);
  EXPECT_EQ(f.prompter.questions, std::vector<std::string>(2, question));
  EXPECT_EQ(f.prompter.messages,
            std::vector<std::string>{FormatSystemError(
                "Could not read calibration file",
                JoinPath("/nonexistent-folder-of-lcu-tests", "@LCU1.cal") + ": No such file or directory")});
  EXPECT_TRUE(f.LastWritten().empty());
}

TEST_F(SendConfigTest, TellsWhichLcuAndWhichFileItSent) {
  test::TempFolder folder;
  f.store.WriteString("Paths", "SetupDirectory", folder.Path().string());
  f.store.WriteString(SlotKey(1), "Serial", std::to_string(StatusLcuNumber(f.device)));
  CalibrationImage image;
  image.SetU16(hdr::kBufferCount, 1);
  image.SetEntry(0, {2, 10, {}, {}, 0});
  const std::string path = JoinPath(folder.Path().string(), "@LCU1.cal");
  test::WriteBytes(path, image.Bytes());
  LoggerHeader lcu;
  lcu.SetU16(hdr::kMemorySize, 2);
  f.Reply(std::vector<std::uint8_t>(kBlockSize, 0));  // not logging
  f.Reply(lcu.Bytes());

  const SendConfigResult sent = SendConfig(f.ctx);
  EXPECT_EQ(sent.result, CommandResult::kDone);
  EXPECT_EQ(sent.lcuNumber, StatusLcuNumber(f.device));
  EXPECT_EQ(sent.calibrationFile, path);
  EXPECT_EQ(f.prompter.messages, std::vector<std::string>{std::string(msg::kConfigurationUpdated)});
  EXPECT_EQ(f.LastWritten().size(), kLoggerHeaderSize - kBlockSize);
}

}  // namespace
}  // namespace lcu
