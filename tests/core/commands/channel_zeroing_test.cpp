// Zeroing: the shown Value cell read like a "%f" scan, and against the simulated LCU with the
// sample setup an offset shifted by the typed value less the shown one, the calibration file
// saved and the configuration sent once. A save that fails is in the LCU commands'
// file-fault table.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <filesystem>
#include <set>

#include "core/channels/channel_calibration.h"
#include "core/channels/channel_table.h"
#include "core/commands/channel_zeroing.h"
#include "core/commands/load_channel_definitions.h"
#include "core/host/memory_settings_store.h"
#include "core/host/registry.h"
#include "core/messages/messages.h"
#include "core/util/little_endian.h"
#include "sim/lcu_simulator.h"
#include "sim/sample_setup.h"
#include "sim/sim_test_util.h"
#include "support/fixed_clock.h"
#include "support/recording_prompter.h"
#include "support/temp_folder.h"

namespace lcu {
namespace {

constexpr std::size_t kOffsetOfChannel5 = cal::kRecords + 5 * kChannelCalibrationSize + 2;

// The host's files, except that creating any of the paths in refused fails.
class RefusingFileSystem final : public FileSystem {
 public:
  using FileSystem::Create;
  std::unique_ptr<OutputFile> Create(const std::string& path, CreateMode mode, std::string& reason) override {
    if (refused.count(path)) {
      reason = "Permission denied";
      return nullptr;
    }
    return m_files.Create(path, mode, reason);
  }
  bool Exists(const std::string& path) const override { return m_files.Exists(path); }
  bool CreateFolders(const std::string& path, std::string& reason) override {
    return m_files.CreateFolders(path, reason);
  }
  std::optional<FileStart> ReadStart(const std::string& path, std::size_t limit, std::string& reason) const override {
    return m_files.ReadStart(path, limit, reason);
  }

  std::set<std::string> refused;

 private:
  StdFileSystem m_files;
};

class ZeroingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    store.WriteString("Paths", "SetupDirectory", (root / "Setup").string());
    store.WriteString("Paths", "DataDirectory", (root / "Sample").string());
    ASSERT_EQ(sim::WriteSampleSetup(store), "");
    device.PollStatus();
    ASSERT_TRUE(device.IsOnline());
    ASSERT_TRUE(LoadChannelDefinitions(ctx));
  }
  std::string CalibrationPath() const { return (root / "Setup" / "@LCU1.cal").string(); }
  std::vector<std::uint8_t> CalibrationFile() const { return test::ReadBytes(CalibrationPath()); }
  std::vector<std::uint8_t> LcuHeader() {
    const auto memory = lcuSim.DataMemory();
    return {memory.begin(), memory.begin() + static_cast<std::ptrdiff_t>(kLoggerHeaderSize)};
  }
  std::string ZeroQuestion(std::string_view channels, std::string_view value) const {
    return "Zero " + std::string(channels) + " of LCU 1 to " + std::string(value) +
           "? The calibration file is replaced; its previous version is kept.";
  }

  sim::LcuSimulator lcuSim{sim::test::ManualTime()};
  CUsbDevice device{lcuSim};
  LinkOwner link{device};
  test::TempFolder root;
  MemorySettingsStore store;
  test::RecordingPrompter prompter;
  test::FixedClock clock;
  RefusingFileSystem files;
  AppState app;
  SilentCommandUi ui;
  CommandContext ctx{device, link, store, prompter, clock, files, app, ui};
};

TEST(ChannelZeroingTest, ShownTextReadsLikeAFloatScan) {
  const std::pair<std::string, float> cases[] = {
      {"12.5", 12.5f},
      {"", 0.0f},
      {"  -3.25abc", -3.25f},
      {"+2", 2.0f},
      {"+-2", 0.0f},
      {"abc", 0.0f},
      {"\t1e3", 1000.0f},
      {"654.36", 654.36f},
      {"1e50", HUGE_VALF},
      {"-1e50", -HUGE_VALF},
      {"inf", HUGE_VALF},
      {std::string(79, ' ') + "7", 0.0f},
      {std::string(78, ' ') + "7", 7.0f},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(ParseShownValue(text), value) << '"' << text << '"';
  EXPECT_TRUE(std::isnan(ParseShownValue("-nan")));
}

// The row of channel 5 shows 12.5; channels from 64 on have no calibration record and stay.
TEST_F(ZeroingTest, ZeroingShiftsTheOffsetSavesAndSendsOnce) {
  const std::vector<std::uint8_t> fileBefore = CalibrationFile();
  const float offsetBefore = le::F32(fileBefore, kOffsetOfChannel5);
  prompter.answers = {true, true};  // zero, and the LCU holds logged data
  const ZeroingRow rows[] = {{5, "12.5"}, {64, "3"}, {200, "1"}};
  EXPECT_EQ(ZeroChannels(ctx, rows, 0.5f), CommandResult::kDone);
  EXPECT_EQ(test::ReadBytes(CalibrationPath() + ".bak"), fileBefore) << "the previous version is kept";

  std::vector<std::uint8_t> fileAfter = CalibrationFile();
  const float offsetAfter = le::F32(fileAfter, kOffsetOfChannel5);
  EXPECT_EQ(offsetAfter, offsetBefore - 12.0f);
  ASSERT_EQ(fileAfter.size(), fileBefore.size());
  std::copy_n(fileBefore.begin() + kOffsetOfChannel5, 4, fileAfter.begin() + kOffsetOfChannel5);
  EXPECT_EQ(fileAfter, fileBefore);  // nothing but that offset changed
  EXPECT_EQ(prompter.questions,
            (std::vector<std::string>{ZeroQuestion("FUEL PRESS", "0.5"), std::string(msg::kLcuContainsData)}));
  EXPECT_EQ(prompter.messages, std::vector<std::string>{std::string(msg::kConfigurationUpdated)});
  EXPECT_EQ(le::F32(lcuSim.DataMemory(), kOffsetOfChannel5), offsetAfter);
  EXPECT_EQ(store.ReadValue(Profile::SectionKey(reg::kChannelData), reg::kZeroFlag), "TRUE");
}

// The question names the calibrated channels among the rows, each once: up to three by name
// (a number without one), else the first two and how many more.
TEST(ChannelZeroingTest, TheQuestionNamesWhatChanges) {
  AppState app;
  const char* names[] = {"WATER TEMP", "BATTERY", "OIL PRESS", "RPM", "SPEED"};
  for (int i = 0; i < 5; ++i) app.m_channelTable[static_cast<std::size_t>(i)].SetName(names[i]);
  const auto question = [&](std::vector<int> channels, float value) {
    std::vector<ZeroingRow> rows;
    for (const int channel : channels) rows.push_back({channel, "1"});
    return ZeroingQuestion(app, rows, 7, value);
  };
  const std::string tail = " of LCU 7 to 0? The calibration file is replaced; its previous version is kept.";
  EXPECT_EQ(question({0, 1, 2, 3, 4}, 0.0f), "Zero WATER TEMP, BATTERY and 3 more channels" + tail);
  EXPECT_EQ(question({0, 70, 1, 0, 2}, 0.0f), "Zero WATER TEMP, BATTERY and OIL PRESS" + tail);
  EXPECT_EQ(question({1, 9}, 0.0f), "Zero BATTERY and channel 9" + tail);
  EXPECT_EQ(question({200, 64}, 0.0f), "Zero no calibrated channel" + tail);
  EXPECT_EQ(question({4}, -2.5f),
            "Zero SPEED of LCU 7 to -2.5? The calibration file is replaced; its previous version is kept.");
}

// No to the question, or to using another LCU's file, leaves the file, the image in memory
// and the LCU as they were. Yes to both uses that file and Send Config does not ask again.
TEST_F(ZeroingTest, NothingChangesBeforeTheUserSaysYes) {
  const std::vector<std::uint8_t> fileBefore = CalibrationFile();
  const CalibrationImage imageBefore = app.m_calibration;
  const std::vector<std::uint8_t> lcuBefore = LcuHeader();
  const ZeroingRow rows[] = {{5, "12.5"}};
  const std::string zero = ZeroQuestion("FUEL PRESS", "0");
  const std::string foreign = "LCU 1 is not registered; use the calibration of LCU 5 (@LCU1.cal)?";
  const struct {
    const char* what;
    bool registered;
    std::deque<bool> answers;
    std::vector<std::string> questions;
  } cases[] = {
      {"No to zeroing", true, {false}, {zero}},
      {"another LCU's file, No", false, {false}, {foreign}},
      {"another LCU's file, Yes, then No to zeroing", false, {true, false}, {foreign, zero}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    store.WriteString(SlotKey(1), reg::kSerial, c.registered ? "1" : "5");
    prompter = test::RecordingPrompter();
    prompter.answers = c.answers;
    EXPECT_EQ(ZeroChannels(ctx, rows, 0.0f), CommandResult::kDeclined);
    EXPECT_EQ(prompter.questions, c.questions);
    EXPECT_EQ(CalibrationFile(), fileBefore);
    EXPECT_FALSE(std::filesystem::exists(CalibrationPath() + ".bak"));
    EXPECT_EQ(app.m_calibration, imageBefore);
    EXPECT_EQ(LcuHeader(), lcuBefore);
    EXPECT_FALSE(store.ReadValue(Profile::SectionKey(reg::kChannelData), reg::kZeroFlag));
  }
  prompter = test::RecordingPrompter();
  prompter.answers = {true, true, true};
  EXPECT_EQ(ZeroChannels(ctx, rows, 0.0f), CommandResult::kDone);
  EXPECT_EQ(prompter.questions, (std::vector<std::string>{foreign, zero, std::string(msg::kLcuContainsData)}));
  EXPECT_NE(LcuHeader(), lcuBefore);
}

// A save that fails, of the backup or of the file itself, is reported and puts the offsets in
// use back as they were: the values shown stay those of the file and of the LCU.
TEST_F(ZeroingTest, AFailedSaveRestoresTheOffsetsInUse) {
  const std::vector<std::uint8_t> fileBefore = CalibrationFile();
  const CalibrationImage imageBefore = app.m_calibration;
  const std::vector<std::uint8_t> lcuBefore = LcuHeader();
  const ZeroingRow rows[] = {{5, "12.5"}, {6, "3"}};
  for (const std::string& refused : {CalibrationPath(), CalibrationPath() + ".bak"}) {
    SCOPED_TRACE(refused);
    files.refused = {refused};
    prompter = test::RecordingPrompter();
    prompter.answers = {true, true};
    EXPECT_EQ(ZeroChannels(ctx, rows, 0.0f), CommandResult::kFailed);
    EXPECT_EQ(prompter.messages, std::vector<std::string>{FormatSystemError(msg::kFailedToSaveCalibrationFile,
                                                                            refused + ": Permission denied")});
    EXPECT_EQ(app.m_calibration, imageBefore);
    EXPECT_EQ(CalibrationFile(), fileBefore);
    EXPECT_EQ(LcuHeader(), lcuBefore) << "sent after the failed save";
  }
}

// Undo puts the file and the offsets in use back as before the zeroing and sends them when
// asked to; with nothing left to put back it says so.
TEST_F(ZeroingTest, UndoPutsTheEarlierCalibrationBackAndOffersToSendIt) {
  const std::vector<std::uint8_t> fileBefore = CalibrationFile();
  const ZeroingRow rows[] = {{5, "12.5"}};
  prompter.answers = {true, true};
  ASSERT_EQ(ZeroChannels(ctx, rows, 0.0f), CommandResult::kDone);
  ASSERT_TRUE(CanUndoZeroing(ctx));
  const float zeroed = le::F32(LcuHeader(), kOffsetOfChannel5);
  ASSERT_NE(zeroed, le::F32(fileBefore, kOffsetOfChannel5));

  for (const bool send : {false, true}) {
    SCOPED_TRACE(send);
    if (send) {
      prompter.answers = {true, true};
      ASSERT_EQ(ZeroChannels(ctx, rows, 0.0f), CommandResult::kDone);
    }
    prompter = test::RecordingPrompter();
    prompter.answers = {send, true};
    EXPECT_EQ(UndoZeroing(ctx), send ? CommandResult::kDone : CommandResult::kDeclined);
    EXPECT_EQ(prompter.questions.front(),
              "The calibration of LCU 1 is back as it was before the last zeroing. Send it to the LCU?");
    EXPECT_EQ(CalibrationFile(), fileBefore);
    EXPECT_EQ(le::F32(app.m_calibration.Bytes(), kOffsetOfChannel5), le::F32(fileBefore, kOffsetOfChannel5));
    EXPECT_EQ(le::F32(LcuHeader(), kOffsetOfChannel5), send ? le::F32(fileBefore, kOffsetOfChannel5) : zeroed);
    EXPECT_FALSE(CanUndoZeroing(ctx));
  }
  prompter = test::RecordingPrompter();
  EXPECT_EQ(UndoZeroing(ctx), CommandResult::kFailed);
  EXPECT_EQ(prompter.messages, std::vector<std::string>{FormatSystemError(
                                   msg::kNoZeroingToUndo, CalibrationPath() + ".bak: No such file or directory")});
  EXPECT_EQ(CalibrationFile(), fileBefore);
}

}  // namespace
}  // namespace lcu
