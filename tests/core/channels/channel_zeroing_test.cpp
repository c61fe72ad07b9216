// Zeroing: the shown Value cell read like a "%f" scan, and against the simulated LCU with the
// sample setup an offset shifted by the typed value less the shown one, the calibration file
// saved and the configuration sent once. A save that fails is the maintenance commands'
// file-fault table.
#include <gtest/gtest.h>

#include <cmath>

#include "core/app/messages.h"
#include "core/channels/channel_calibration.h"
#include "core/channels/channel_table.h"
#include "core/channels/channel_zeroing.h"
#include "core/host/memory_settings_store.h"
#include "core/host/registry.h"
#include "core/util/little_endian.h"
#include "sim/lcu_simulator.h"
#include "sim/sample_setup.h"
#include "support/fixed_clock.h"
#include "support/recording_prompter.h"
#include "support/temp_folder.h"

namespace lcu {
namespace {

constexpr std::size_t kOffsetOfChannel5 = cal::kRecords + 5 * kChannelCalibrationSize + 2;

class ZeroingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    store.WriteString("Paths", "SetupDirectory", (root / "Setup").string());
    store.WriteString("Paths", "DataDirectory", (root / "Sample").string());
    ASSERT_EQ(sim::WriteSampleSetup(store), "");
    device.PollStatus();
    ASSERT_EQ(device.m_bOnline, 1);
    ASSERT_TRUE(LoadChannelDefinitions(ctx));
  }
  std::vector<std::uint8_t> CalibrationFile() const { return test::ReadBytes(root / "Setup" / "@LCU1.cal"); }

  sim::LcuSimulator lcuSim{[] { sim::SimulatorOptions o; o.manualTime = true; return o; }()};
  CUsbDevice device{lcuSim};
  test::TempFolder root;
  MemorySettingsStore store;
  test::RecordingPrompter prompter;
  test::FixedClock clock;
  StdFileSystem files;
  AppState app;
  SilentCommandUi ui;
  CommandContext ctx{device, store, prompter, clock, files, app, ui};
};

TEST(ChannelZeroingTest, ShownTextReadsLikeAFloatScan) {
  const std::pair<std::string, float> cases[] = {
      {"12.5", 12.5f},       {"", 0.0f},        {"  -3.25abc", -3.25f}, {"+2", 2.0f},        {"+-2", 0.0f},
      {"abc", 0.0f},         {"\t1e3", 1000.0f}, {"654.36", 654.36f},   {"1e50", HUGE_VALF}, {"-1e50", -HUGE_VALF},
      {"inf", HUGE_VALF},    {std::string(79, ' ') + "7", 0.0f},         {std::string(78, ' ') + "7", 7.0f},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(ParseShownValue(text), value) << '"' << text << '"';
  EXPECT_TRUE(std::isnan(ParseShownValue("-nan")));
}

// The row of channel 5 shows 12.5; channels from 64 on have no calibration record and stay.
TEST_F(ZeroingTest, ZeroingShiftsTheOffsetSavesAndSendsOnce) {
  const std::vector<std::uint8_t> fileBefore = CalibrationFile();
  const float offsetBefore = le::F32(fileBefore, kOffsetOfChannel5);
  prompter.answers = {true};  // the LCU holds logged data
  const ZeroingRow rows[] = {{5, "12.5"}, {64, "3"}, {200, "1"}};
  EXPECT_EQ(ZeroChannels(ctx, rows, 0.5f), CommandResult::kDone);

  std::vector<std::uint8_t> fileAfter = CalibrationFile();
  const float offsetAfter = le::F32(fileAfter, kOffsetOfChannel5);
  EXPECT_EQ(offsetAfter, offsetBefore - 12.0f);
  ASSERT_EQ(fileAfter.size(), fileBefore.size());
  std::copy_n(fileBefore.begin() + kOffsetOfChannel5, 4, fileAfter.begin() + kOffsetOfChannel5);
  EXPECT_EQ(fileAfter, fileBefore);  // nothing but that offset changed
  EXPECT_EQ(prompter.questions, std::vector<std::string>{std::string(msg::kLcuContainsData)});
  EXPECT_EQ(prompter.messages, std::vector<std::string>{std::string(msg::kConfigurationUpdated)});
  EXPECT_EQ(le::F32(lcuSim.DataMemory(), kOffsetOfChannel5), offsetAfter);
  EXPECT_EQ(store.ReadValue(Profile::SectionKey(reg::kChannelData), reg::kZeroFlag), "TRUE");
}

}  // namespace
}  // namespace lcu
